// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/bookarchives.h"

namespace korvin::test {

// Zip archives the test describes, by path: the files each holds, or the
// fault its opening meets. An archive unpacks into a folder of its own below
// `unpackRoot` (a real folder, so that what the program opens by path is
// there) and removes it when it goes, as the real one does.
class FakeBookArchives final : public BookArchives {
public:
    explicit FakeBookArchives(std::string unpackRoot = std::string())
        : unpackRoot(std::move(unpackRoot))
    {
    }

    void addFiles(const std::string& path, std::map<std::string, std::string> files);
    void refuse(const std::string& path, Fault fault) { m_faults[path] = fault; }

    Opened open(const std::string& path) const override;

    // The unpack folder of the n-th archive opened (from 0), ending in "/".
    std::string unpackFolder(int n) const { return unpackRoot + "/zip" + std::to_string(n) + "/"; }

    std::string unpackRoot;
    mutable int openings = 0;
    mutable std::vector<std::string> unpacked;  // "<n>:<name>", in order

private:
    std::map<std::string, std::map<std::string, std::string>> m_archives;
    std::map<std::string, Fault> m_faults;
};

}  // namespace korvin::test
