// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "book/smil2reader.h"

namespace korvin {

// What the reading of a SMIL file hands on, kept in one string, so that a
// file can be read on one thread and its phrases written on another.

// Records every call into `recording` (emptied first), its texts copied.
class SmilRecorder final : public SmilPhraseSink {
public:
    explicit SmilRecorder(std::string& recording);
    void anchor(std::string_view id) override;
    void phrase(const SmilPhrase& phrase) override;

private:
    void putSize(std::size_t size);
    void putText(std::string_view text);
    void putTime(const std::optional<std::int64_t>& time);

    std::string& m_recording;
};

// Hands the calls of `recording` on to `sink`, in their order; the views it
// hands on point into `recording`. `clips` is the storage of the phrases'
// clips, reused from file to file.
void replaySmil(std::string_view recording, SmilPhraseSink& sink, std::vector<SmilPhrase::Clip>& clips);

}  // namespace korvin
