#pragma once

// The three parts of a text that marks its link with "<A>" and "</A>" (either
// case). Each part points into the text; an absent part is NULL with count 0.
struct TaggedParts {
    const char* before = nullptr;
    int beforeCount = 0;
    const char* link = nullptr;
    int linkCount = 0;
    const char* after = nullptr;
    int afterCount = 0;
};

// Only the first opening tag counts, and the first closing tag after it ends
// the link. Without an opening tag there are no parts; without a closing tag
// the link part is empty. Tags inside the parts are left in them.
TaggedParts SplitTaggedText(const char* text);
