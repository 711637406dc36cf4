#pragma once

// Availability of the "visit registrar" action as last shown to the user.
// The owner applies caption and enabled state only when Update reports a
// change, so repeated selections of domains of one kind cause no redraw.
class VisitState {
public:
    static constexpr char availableCaption[] = "Visit site of domain registrar";
    static constexpr char unavailableCaption[] = "Information about domain registrar is unavailable";

    bool IsEnabled() const { return visitEnabled; }

    // Stores the new availability; returns false, and changes nothing, when it
    // equals the current one.
    bool Update(bool enabled);

    static const char* Caption(bool enabled);

private:
    bool visitEnabled = true;
};
