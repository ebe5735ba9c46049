#include "package/HrefPath.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

QString joinHref(const QString& folder, const QString& href)
{
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))
        || href.startsWith(QLatin1Char('/')) || href.startsWith(QLatin1Char('\\')))
        return folder + href;
    return folder + QLatin1Char('/') + href;
}

} // namespace

QString ResolveHref(const QString& folder, const QString& href, const std::function<bool(const QString&)>& exists)
{
    const auto isFile = [&exists](const QString& path) { return exists ? exists(path) : QFileInfo::exists(path); };
    const QString asWritten = QDir::cleanPath(joinHref(folder, href));
    if (!href.contains(QLatin1Char('%')) || isFile(asWritten))
        return asWritten;
    const QString decoded = QDir::cleanPath(joinHref(folder, QUrl::fromPercentEncoding(href.toUtf8())));
    return isFile(decoded) ? decoded : asWritten;
}

QString HrefWithoutFragment(const QString& href)
{
    const int hash = href.indexOf(QLatin1Char('#'));
    return hash >= 0 ? href.left(hash) : href;
}
