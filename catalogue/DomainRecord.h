#pragma once

// One top-level domain. All three strings are constant, NUL-terminated and
// never null; an empty registrarUrl means the registrar is not known.
struct DomainRecord {
    const char* code;
    const char* registrarUrl;
    const char* description;
};
