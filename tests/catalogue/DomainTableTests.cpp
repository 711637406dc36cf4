#include <doctest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/DomainTable.h"

namespace {

constexpr int genericCount = 13;

std::string Lower(std::string s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

bool BeginsWith(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

std::set<std::string> CodesWhere(bool (*predicate)(const std::string&))
{
    std::set<std::string> codes;
    for (const DomainRecord& record : domainTable) {
        if (predicate(record.registrarUrl))
            codes.insert(record.code);
    }
    return codes;
}

// Every pair "a begins b" among different texts, compared ignoring case as the
// list boxes compare.
std::set<std::pair<std::string, std::string>> PrefixPairs(const char* DomainRecord::*field)
{
    std::set<std::pair<std::string, std::string>> pairs;
    for (const DomainRecord& a : domainTable) {
        for (const DomainRecord& b : domainTable) {
            const std::string x = Lower(a.*field), y = Lower(b.*field);
            if (x != y && BeginsWith(y, x))
                pairs.insert({a.*field, b.*field});
        }
    }
    return pairs;
}

} // namespace

TEST_CASE("the table holds the generic domains, then the country codes, each in ascending order")
{
    static_assert(sizeof domainTable / sizeof domainTable[0] == 259, "table size");
    CHECK(std::string(domainTable[0].code) == "aero");
    CHECK(std::string(domainTable[12].code) == "org");
    CHECK(std::string(domainTable[13].code) == "ac");
    CHECK(std::string(domainTable[258].code) == "zw");

    for (int i = 0; i < domainTableSize; ++i) {
        CAPTURE(i);
        const std::string code = domainTable[i].code;
        if (i < genericCount)
            CHECK(code.size() >= 3);
        else
            CHECK(code.size() == 2);
        if (i != 0 && i != genericCount)
            CHECK(std::string(domainTable[i - 1].code) < code);
    }
}

TEST_CASE("codes and descriptions are well formed")
{
    std::set<std::string> codes;
    std::map<std::string, std::vector<int>> descriptions;
    for (int i = 0; i < domainTableSize; ++i) {
        const DomainRecord& record = domainTable[i];
        CAPTURE(i);
        REQUIRE(record.code != nullptr);
        REQUIRE(record.registrarUrl != nullptr);
        REQUIRE(record.description != nullptr);

        const std::string code = record.code;
        CHECK(code.size() >= 2);
        CHECK(code.size() <= 6);
        CHECK(std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; }));
        CHECK(codes.insert(Lower(code)).second);

        const std::string description = record.description;
        CAPTURE(description);
        CHECK(description.size() >= 4);
        CHECK(description.size() <= 48);
        CHECK(description.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz &'(),-.")
              == std::string::npos);
        descriptions[description].push_back(i);
    }

    // The only shared description; the scan order makes uk win over gb.
    for (const auto& entry : descriptions) {
        CAPTURE(entry.first);
        if (entry.first == "United Kingdom")
            CHECK(entry.second == std::vector<int>{88, 239});
        else
            CHECK(entry.second.size() == 1);
    }
    CHECK(std::string(domainTable[88].code) == "gb");
    CHECK(std::string(domainTable[239].code) == "uk");
}

TEST_CASE("each registrar address is of the kind its domain needs")
{
    using Codes = std::set<std::string>;
    CHECK(CodesWhere([](const std::string& url) { return url.empty(); })
          == Codes{"bj", "bv", "bw", "cs", "cv", "eh", "ga", "gd", "gw", "gy", "ht", "iq",
                   "ki", "km", "kn", "kp", "ml", "ne", "nr", "pf", "pw", "sl", "va", "ye"});
    CHECK(CodesWhere([](const std::string& url) { return BeginsWith(url, "https://"); }) == Codes{"fi"});
    CHECK(CodesWhere([](const std::string& url) { return BeginsWith(url, "mailto:"); })
          == Codes{"ci", "mg", "mz"});
    CHECK(CodesWhere([](const std::string& url) { return BeginsWith(url, "http://"); }).size() == 231);

    for (const DomainRecord& record : domainTable) {
        const std::string url = record.registrarUrl;
        CAPTURE(record.code);
        CAPTURE(url);
        CHECK(url.find_first_of(" \t\"") == std::string::npos);
        if (BeginsWith(url, "mailto:")) {
            const std::size_t at = url.find('@');
            CHECK(at != std::string::npos);
            CHECK(at > 7);
            CHECK(at + 1 < url.size());
        } else if (!url.empty()) {
            const std::size_t host = url.find("://") + 3;
            CHECK(url.size() > host);
            CHECK(url.find('.', host) != std::string::npos);
        }
    }
}

TEST_CASE("registries that serve several domains share one address, all others are unique")
{
    std::map<std::string, std::set<std::string>> codesByUrl;
    for (const DomainRecord& record : domainTable) {
        if (record.registrarUrl[0] != '\0')
            codesByUrl[record.registrarUrl].insert(record.code);
    }

    std::set<std::set<std::string>> shared;
    for (const auto& entry : codesByUrl) {
        if (entry.second.size() > 1)
            shared.insert(entry.second);
    }
    CHECK(shared == std::set<std::set<std::string>>{
                        {"com", "net"}, {"fr", "re", "wf"}, {"gb", "uk"}, {"gg", "je"},
                        {"gs", "ms", "tc", "tf", "vg"}, {"ru", "su"}, {"um", "us"}});
}

TEST_CASE("only the known codes and descriptions begin one another")
{
    using Pairs = std::set<std::pair<std::string, std::string>>;
    CHECK(PrefixPairs(&DomainRecord::code)
          == Pairs{{"ae", "aero"}, {"bi", "biz"}, {"co", "com"}, {"co", "coop"}, {"in", "info"},
                   {"in", "int"}, {"mu", "museum"}, {"na", "name"}, {"ne", "net"}});
    CHECK(PrefixPairs(&DomainRecord::description)
          == Pairs{{"Niger", "Nigeria"}, {"Guinea", "Guinea-Bissau"}, {"Dominica", "Dominican Republic"}});
}
