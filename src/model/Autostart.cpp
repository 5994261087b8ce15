// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Autostart.h"

#include "model/Paths.h"
#include "model/secrets/PrivateFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace Autostart {

QString entryPath()
{
    return Paths::configHome() + QStringLiteral("/autostart/binzo.desktop");
}

bool isEnabled()
{
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Desktops honour both keys when the user turns an entry off in their own settings.
    static const QRegularExpression off(
        QStringLiteral("^(Hidden=true|X-GNOME-Autostart-enabled=false)\\s*$"),
        QRegularExpression::MultilineOption);
    return !off.match(QString::fromUtf8(file.readAll())).hasMatch();
}

QString execValue(const QString &executable)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9/._+-]+$"));
    if (plain.match(executable).hasMatch())
        return executable;
    QString quoted = executable;
    for (const QString &reserved :
         {QStringLiteral("\\"), QStringLiteral("\""), QStringLiteral("`"), QStringLiteral("$")})
        quoted.replace(reserved, QStringLiteral("\\") + reserved);
    // The whole value is also a string value, whose own escape is the backslash; a literal
    // % would start a field code.
    quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    quoted.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

Result<void> enable(const QString &executable)
{
    const QString folder = Paths::configHome() + QStringLiteral("/autostart");
    if (!QDir().mkpath(folder))
        return Failure {QStringLiteral("cannot create %1").arg(folder)};
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Binzo\n"
                                         "Comment=Keep short texts one keystroke away\n"
                                         "Exec=%1\n"
                                         "Icon=binzo\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execValue(executable));
    return PrivateFile::replace(entryPath(), entry.toUtf8());
}

Result<void> disable()
{
    QFile file(entryPath());
    if (!file.exists() || file.remove())
        return {};
    return Failure {file.errorString()};
}

} // namespace Autostart
