// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/recordfile.h"

#include <algorithm>

namespace korvin {

RecordFile::RecordFile(std::string path, std::size_t fieldCount, const Scrambler& scrambler)
    : m_path(std::move(path))
    , m_fieldCount(fieldCount == 0 ? 1 : fieldCount)
    , m_scrambler(scrambler)
{
}

// A CR at the end would be taken for part of the line end; one inside turns into
// a space too, so the rule is one and simple.
std::string RecordFile::asOneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

FileBytes::Status RecordFile::load()
{
    FileBytes file = readFileBytes(m_path);
    m_status = file.status;
    m_bytes = std::move(file.bytes);
    m_starts.clear();
    std::size_t position = 0;
    std::size_t lineNumber = 0;
    while (position < m_bytes.size()) {
        if (lineNumber % m_fieldCount == 0)
            m_starts.push_back(position);
        const std::size_t end = m_bytes.find('\n', position);
        if (end == std::string::npos)
            break;
        position = end + 1;
        ++lineNumber;
    }
    return m_status;
}

std::string_view RecordFile::line(std::size_t record, std::size_t field) const
{
    if (record >= m_starts.size() || field >= m_fieldCount)
        return {};
    std::string_view rest(m_bytes);
    rest.remove_prefix(m_starts[record]);
    for (std::size_t i = 0; i < field; ++i) {
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos)
            return {};
        rest.remove_prefix(end + 1);
    }
    std::string_view text = rest.substr(0, rest.find('\n'));
    // No field ends in a CR (see asOneLine); reading them all off keeps a copied
    // record the same when it is read again.
    while (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    return text;
}

std::string RecordFile::field(std::size_t record, std::size_t field) const
{
    return m_scrambler.unscramble(line(record, field));
}

RecordFile::Key RecordFile::makeKey(const Fields& fields) const
{
    Key key;
    for (const std::string& field : fields)
        key.m_lines.push_back(m_scrambler.scramble(asOneLine(field)));
    return key;
}

// Comparing the scrambled texts compares the plain ones, since the scrambling
// maps lines one to one; no record needs to be unscrambled to be recognised.
bool RecordFile::startsWith(std::size_t record, const Key& key) const
{
    if (record >= m_starts.size())
        return false;
    std::string_view rest(m_bytes);
    rest.remove_prefix(m_starts[record]);
    for (std::size_t i = 0; i < key.m_lines.size(); ++i) {
        if (i >= m_fieldCount) {
            if (!key.m_lines[i].empty())
                return false;
            continue;
        }
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line != key.m_lines[i])
            return false;
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    return true;
}

RecordFile::Writer::Writer(const RecordFile& file)
    : m_file(file)
{
    m_contents.reserve(file.m_bytes.size());
}

void RecordFile::Writer::append(const Fields& fields)
{
    for (std::size_t i = 0; i < m_file.m_fieldCount; ++i) {
        if (i < fields.size())
            m_contents += m_file.m_scrambler.scramble(asOneLine(fields[i]));
        m_contents += '\n';
    }
}

void RecordFile::Writer::copy(std::size_t record)
{
    if (record >= m_file.m_starts.size())
        return;
    // A whole record without CRs is copied in one piece, as it stands.
    const std::size_t begin = m_file.m_starts[record];
    const std::size_t end = record + 1 < m_file.m_starts.size() ? m_file.m_starts[record + 1] : m_file.m_bytes.size();
    const std::string_view bytes = std::string_view(m_file.m_bytes).substr(begin, end - begin);
    if (bytes.find('\r') == std::string_view::npos && !bytes.empty() && bytes.back() == '\n' &&
        static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) == m_file.m_fieldCount) {
        m_contents += bytes;
        return;
    }
    for (std::size_t i = 0; i < m_file.m_fieldCount; ++i) {
        m_contents += m_file.line(record, i);
        m_contents += '\n';
    }
}

bool RecordFile::Writer::commit() const
{
    if (m_file.m_status == FileBytes::Status::kUnreadable)
        return false;
    return writeFileAtomically(m_file.m_path, m_contents);
}

RecordFile::Fields bookRecordKey(const BookInfo& info)
{
    return {info.date, info.identifier, info.title, info.setInfo, info.tocItems, info.totalTime};
}

}  // namespace korvin
