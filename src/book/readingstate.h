// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "book/booktables.h"
#include "book/headingtree.h"

namespace korvin {

// A value cut from the SMIL file being read. While the file is read it is a
// view into the file's bytes, which saves a copy for every value of every
// line; keep() gives it storage of its own before the buffer is reused for the
// next file. Copies keep their own storage as well.
class CutValue {
public:
    CutValue() = default;
    CutValue(const CutValue& other)
        : m_kept(other.m_kept)
        , m_view(other.isKept() ? std::string_view(m_kept) : other.m_view)
    {
    }
    CutValue& operator=(const CutValue& other)
    {
        if (this != &other) {
            m_kept = other.m_kept;
            m_view = other.isKept() ? std::string_view(m_kept) : other.m_view;
        }
        return *this;
    }
    CutValue& operator=(std::string_view text)
    {
        m_view = text;
        return *this;
    }

    std::string_view view() const { return m_view; }
    void keep()
    {
        if (!isKept()) {
            m_kept.assign(m_view);
            m_view = m_kept;
        }
    }

private:
    bool isKept() const { return m_view.data() == m_kept.data() && m_view.size() == m_kept.size(); }

    std::string m_kept;
    std::string_view m_view;
};

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

    // The values last cut from SMIL lines; `document` is the book folder
    // followed by the file name cut.
    CutValue parId;
    std::string document;
    CutValue fragment;
    CutValue textId;
    CutValue audio;
    CutValue clipBegin;
    CutValue clipEnd;

    FeatureFlags features;
};

}  // namespace korvin
