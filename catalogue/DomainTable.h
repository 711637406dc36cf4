#pragma once

#include "catalogue/DomainRecord.h"

constexpr int domainTableSize = 259;

// The generic domains (records 0 to 12), then the country codes, each group in
// ascending order of code. Scans rely on this order: where two records share a
// description, the later one wins.
extern const DomainRecord domainTable[domainTableSize];
