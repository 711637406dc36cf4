#include <doctest.h>

#include <string>

#include "catalogue/VisitState.h"

TEST_CASE("the visit state reports only real changes")
{
    VisitState state;
    CHECK(state.IsEnabled());
    CHECK_FALSE(state.Update(true));

    CHECK(state.Update(false));
    CHECK_FALSE(state.IsEnabled());
    CHECK_FALSE(state.Update(false));
    CHECK_FALSE(state.IsEnabled());

    CHECK(state.Update(true));
    CHECK(state.IsEnabled());

    CHECK(std::string(VisitState::Caption(true)) == "Visit site of domain registrar");
    CHECK(std::string(VisitState::Caption(false)) == "Information about domain registrar is unavailable");
}
