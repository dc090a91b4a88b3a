// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/smilrecording.h"

#include <cstring>

namespace korvin {

namespace {

constexpr char kAnchor = 'A';
constexpr char kPhrase = 'P';

// Reads back what SmilRecorder wrote, which only it wrote: no bounds are
// checked beyond the end of the recording.
class Reader {
public:
    explicit Reader(std::string_view recording)
        : m_recording(recording)
    {
    }
    bool atEnd() const { return m_at >= m_recording.size(); }
    char byte() { return m_recording[m_at++]; }
    std::size_t size()
    {
        std::size_t size = 0;
        std::memcpy(&size, m_recording.data() + m_at, sizeof size);
        m_at += sizeof size;
        return size;
    }
    std::string_view text()
    {
        const std::size_t length = size();
        const std::string_view text = m_recording.substr(m_at, length);
        m_at += length;
        return text;
    }
    std::optional<std::int64_t> time()
    {
        if (byte() == 0)
            return std::nullopt;
        std::int64_t value = 0;
        std::memcpy(&value, m_recording.data() + m_at, sizeof value);
        m_at += sizeof value;
        return value;
    }

private:
    std::string_view m_recording;
    std::size_t m_at = 0;
};

}  // namespace

SmilRecorder::SmilRecorder(std::string& recording)
    : m_recording(recording)
{
    m_recording.clear();
}

void SmilRecorder::putSize(std::size_t size)
{
    char bytes[sizeof size];
    std::memcpy(bytes, &size, sizeof size);
    m_recording.append(bytes, sizeof size);
}

void SmilRecorder::putText(std::string_view text)
{
    putSize(text.size());
    m_recording.append(text);
}

void SmilRecorder::putTime(const std::optional<std::int64_t>& time)
{
    m_recording.push_back(time ? 1 : 0);
    if (time) {
        char bytes[sizeof *time];
        std::memcpy(bytes, &*time, sizeof *time);
        m_recording.append(bytes, sizeof bytes);
    }
}

void SmilRecorder::anchor(std::string_view id)
{
    m_recording.push_back(kAnchor);
    putText(id);
}

void SmilRecorder::phrase(const SmilPhrase& phrase)
{
    m_recording.push_back(kPhrase);
    m_recording.push_back(static_cast<char>(phrase.kind));
    putText(phrase.id);
    putText(phrase.textSrc);
    putText(phrase.textId);
    const std::size_t clips = phrase.clips ? phrase.clipCount : 0;
    putSize(clips);
    for (std::size_t i = 0; i < clips; ++i) {
        const SmilPhrase::Clip& clip = (*phrase.clips)[i];
        putText(clip.src);
        putTime(clip.begin);
        putTime(clip.end);
        putText(clip.beginText);
        putText(clip.endText);
    }
}

void replaySmil(std::string_view recording, SmilPhraseSink& sink, std::vector<SmilPhrase::Clip>& clips)
{
    Reader reader(recording);
    while (!reader.atEnd()) {
        if (reader.byte() == kAnchor) {
            sink.anchor(reader.text());
            continue;
        }
        SmilPhrase phrase;
        phrase.kind = static_cast<Skippable>(reader.byte());
        phrase.id = reader.text();
        phrase.textSrc = reader.text();
        phrase.textId = reader.text();
        phrase.clipCount = reader.size();
        if (clips.size() < phrase.clipCount)
            clips.resize(phrase.clipCount);
        for (std::size_t i = 0; i < phrase.clipCount; ++i) {
            SmilPhrase::Clip& clip = clips[i];
            clip.src = reader.text();
            clip.begin = reader.time();
            clip.end = reader.time();
            clip.beginText = reader.text();
            clip.endText = reader.text();
        }
        phrase.clips = &clips;
        sink.phrase(phrase);
    }
}

}  // namespace korvin
