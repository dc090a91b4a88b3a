#pragma once

#include <array>
#include <string>

#include "book/booktables.h"
#include "book/headingtree.h"

namespace korvin {

// The working state of one reading of a book, shared by the NCC part and the
// SMIL part. Lives for one reading; nothing in it is reset between SMIL
// files except the elapsed text, so the SMIL line states, the time text, the
// skip class and the values last cut carry over from one file to the next.
struct ReadingState {
    // NCC line states and counters.
    bool inHead = false;
    bool inBody = false;
    int linkCounter = 0;
    int headingCounter = 0;  // index the next heading row gets
    int pageCounter = 0;
    int groupCounter = 0;
    int previousLevel = 1;
    // The tree item last inserted at levels 1 to 5 (index 0 unused).
    std::array<HeadingTree::Item, 6> lastItemOfLevel{HeadingTree::kNone, HeadingTree::kNone, HeadingTree::kNone,
                                                     HeadingTree::kNone, HeadingTree::kNone, HeadingTree::kNone};
    std::string headingIndexText;  // the last heading's index, for TreeID and TitelID
    std::string statusText;

    // SMIL line states and the phrase being made.
    bool inSmilHead = false;
    bool inSmilBody = false;
    int phraseCounter = -1;  // index of the last phrase row made
    bool firstClipPending = false;
    std::string skipClass;

    // Times of the current heading.
    std::string timeText;
    std::string elapsedText;
    double elapsedSum = 0.0;

    // The values last cut from SMIL lines.
    std::string parId;
    std::string document;
    std::string fragment;
    std::string textId;
    std::string audio;
    std::string clipBegin;
    std::string clipEnd;

    FeatureFlags features;
};

}  // namespace korvin
