#pragma once

#include <doctest.h>

#include <string.h>

#include "catalogue/DomainTable.h"

// The domain table's record of a code; a test that asks for a code the
// table lacks fails.
inline const DomainRecord& RecordOf(const char* code)
{
    for (const DomainRecord& record : domainTable) {
        if (strcmp(record.code, code) == 0)
            return record;
    }
    FAIL("no record for " << code);
    return domainTable[0];
}
