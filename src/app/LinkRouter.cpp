// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LinkRouter.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace {

// The link's parts are compared as written: QUrl would lower-case the host and the scheme.
struct LinkParts
{
    QString scheme;
    QString host;
    QString path;
};

LinkParts split(const QString &link)
{
    LinkParts parts;
    const qsizetype colon = link.indexOf(u':');
    if (colon <= 0)
        return parts;
    parts.scheme = link.left(colon);
    QString rest = link.mid(colon + 1);
    const qsizetype end = rest.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    if (end >= 0)
        rest.truncate(end);
    if (rest.startsWith(QLatin1String("//"))) {
        QString authority = rest.mid(2);
        const qsizetype slash = authority.indexOf(u'/');
        if (slash >= 0) {
            parts.path = authority.mid(slash);
            authority.truncate(slash);
        }
        authority = authority.mid(authority.lastIndexOf(u'@') + 1);
        const qsizetype port = authority.lastIndexOf(u':');
        if (port >= 0 && !authority.endsWith(u']'))
            authority.truncate(port);
        parts.host = authority;
    } else {
        parts.path = rest;
    }
    parts.host = QUrl::fromPercentEncoding(parts.host.toUtf8());
    parts.path = QUrl::fromPercentEncoding(parts.path.toUtf8());
    return parts;
}

} // namespace

namespace LinkRouter {

bool opensPanel(const QString &link)
{
    const LinkParts parts = split(link);
    if (parts.scheme != QLatin1String("binzo"))
        return false;
    return parts.host == QLatin1String("open") || parts.path == QLatin1String("open");
}

int panelShowCount(const QStringList &links)
{
    return int(std::count_if(links.begin(), links.end(), opensPanel));
}

} // namespace LinkRouter
