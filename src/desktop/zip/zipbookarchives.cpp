// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/zip/zipbookarchives.h"

#include "desktop/zip/ziparchive.h"

namespace korvin {

ZipBookArchives::ZipBookArchives(const std::optional<std::string>& cacheRoot)
    : m_cache(cacheRoot ? std::make_unique<UnpackCache>(*cacheRoot) : nullptr)
{
}

ZipBookArchives::~ZipBookArchives() = default;

BookArchives::Opened ZipBookArchives::open(const std::string& path) const
{
    return ZipArchive::open(path, m_cache ? m_cache->nextFolder() : path + "/");
}

}  // namespace korvin
