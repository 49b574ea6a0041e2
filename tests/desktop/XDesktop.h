// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QtTest>

// The X tools that drive a desktop test: a real keyboard layout (setxkbmap),
// real key events through it (xdotool) and a window manager (openbox).
namespace XDesktop {

inline bool Have(const QString& tool)
{
    return !QStandardPaths::findExecutable(tool).isEmpty();
}

// Runs a tool to its end; its exit code, or -1 when it could not run.
inline int Run(const QString& tool, const QStringList& args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(tool, args);
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

inline QString Output(const QString& tool, const QStringList& args)
{
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Switches the server's layout and lets the toolkit hear of the new keymap.
inline bool SetLayout(const QString& layout, const QString& variant = {})
{
    QStringList args{QStringLiteral("-layout"), layout};
    if (!variant.isEmpty())
        args << QStringLiteral("-variant") << variant;
    if (Run(QStringLiteral("setxkbmap"), args) != 0)
        return false;
    QTest::qWait(300);
    return true;
}

// Strikes keys, given as X key symbol names, one after another, the way a
// user would; the toolkit handles each before the test goes on.
inline void Keys(const QStringList& keys)
{
    QStringList args{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")};
    args += keys;
    QCOMPARE(Run(QStringLiteral("xdotool"), args), 0);
    QTest::qWait(150);
}

} // namespace XDesktop
