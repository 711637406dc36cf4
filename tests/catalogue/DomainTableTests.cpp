#include <doctest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/DomainTable.h"

TEST_CASE("the domain table")
{
    static_assert(sizeof domainTable / sizeof domainTable[0] == 259, "table size");
    constexpr int genericCount = 13;
    using Codes = std::set<std::string>;
    std::map<std::string, std::vector<std::string>> codesByDescription;
    std::map<std::string, Codes> codesByKind;
    std::map<std::string, Codes> codesByUrl;
    for (int i = 0; i < domainTableSize; ++i) {
        CAPTURE(i);
        const std::string code = domainTable[i].code;
        const std::string url = domainTable[i].registrarUrl;
        // The generic domains, then the country codes, each ascending.
        CHECK((i < genericCount ? code.size() >= 3 : code.size() == 2));
        if (i != 0 && i != genericCount)
            CHECK(std::string(domainTable[i - 1].code) < code);
        codesByDescription[domainTable[i].description].push_back(code);
        codesByKind[url.substr(0, url.find(':'))].insert(code);
        if (!url.empty())
            codesByUrl[url].insert(code);
    }

    for (const auto& entry : codesByDescription) {
        CAPTURE(entry.first);
        CHECK(entry.second.size() == (entry.first == "United Kingdom" ? 2u : 1u));
    }
    CHECK(codesByDescription["United Kingdom"] == std::vector<std::string>{"gb", "uk"});

    CHECK(codesByKind.size() == 4);
    CHECK(codesByKind[""] == Codes{"bj", "bv", "bw", "cs", "cv", "eh", "ga", "gd", "gw", "gy", "ht", "iq",
                                   "ki", "km", "kn", "kp", "ml", "ne", "nr", "pf", "pw", "sl", "va", "ye"});
    CHECK(codesByKind["https"] == Codes{"fi"});
    CHECK(codesByKind["mailto"] == Codes{"ci", "mg", "mz"});
    CHECK(codesByKind["http"].size() == 231);

    // Registries serving several domains share one address; all others are unique.
    std::set<Codes> shared;
    for (const auto& entry : codesByUrl) {
        if (entry.second.size() > 1)
            shared.insert(entry.second);
    }
    CHECK(shared == std::set<Codes>{{"com", "net"}, {"fr", "re", "wf"}, {"gb", "uk"}, {"gg", "je"},
                                    {"gs", "ms", "tc", "tf", "vg"}, {"ru", "su"}, {"um", "us"}});
}
