// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmllinktarget.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace korvin {

HtmlLinkTarget HtmlLinkTarget::ofLocation(const QString& location)
{
    HtmlLinkTarget target;
    QString path = location;
    if (path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(path);
        path = url.toLocalFile();
        target.hasFragment = url.hasFragment();
        target.fragment = url.fragment(QUrl::FullyDecoded);
    } else if (!QFileInfo::exists(path)) {  // a '#' may belong to a folder's name
        const qsizetype hash = path.indexOf(u'#');
        if (hash >= 0) {
            target.hasFragment = true;
            target.fragment = path.mid(hash + 1);
            path.truncate(hash);
        }
    }
    target.path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    return target;
}

HtmlLinkTarget HtmlLinkTarget::ofHref(const QString& written, const QString& documentPath)
{
    QString href = written.trimmed();
    HtmlLinkTarget target;
    if (href.startsWith(u'#')) {
        target.path = documentPath;
        target.hasFragment = true;
        target.fragment = QUrl::fromPercentEncoding(href.mid(1).toUtf8());
        return target;
    }
    href.replace(u'\\', u'/');
    const QUrl relative(href);
    if (!relative.scheme().isEmpty() && relative.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0) {
        target.external = written.trimmed();
        return target;
    }
    const QString base = documentPath.isEmpty() ? QDir::currentPath() + u'/' : documentPath;
    const QUrl resolved = QUrl::fromLocalFile(base).resolved(relative);
    target.path = QDir::cleanPath(resolved.toLocalFile());
    target.hasFragment = resolved.hasFragment();
    target.fragment = resolved.fragment(QUrl::FullyDecoded);
    return target;
}

std::string HtmlLinkTarget::url() const
{
    if (!external.isEmpty())
        return external.toStdString();
    QString url = path;
    if (hasFragment)
        url += u'#' + fragment;
    return url.toStdString();
}

}  // namespace korvin
