// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "desktop/zip/unpackcache.h"
#include "platform/bookarchives.h"

namespace korvin {

// Zipped books read with libzip, unpacked into a private cache below
// `cacheRoot` (see UnpackCache). Without a cache root nothing is ever
// unpacked, and an archive's unpack folder is named after the archive itself
// ("book.zip/"), which is what a listing of its files shows.
class ZipBookArchives final : public BookArchives {
public:
    explicit ZipBookArchives(const std::optional<std::string>& cacheRoot);
    ~ZipBookArchives() override;

    Opened open(const std::string& path) const override;

private:
    std::unique_ptr<UnpackCache> m_cache;
};

}  // namespace korvin
