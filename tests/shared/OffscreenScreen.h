// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// Gives the offscreen platform one screen of 1024 x 768 pixels at 96 dpi.
// Made before the application, and kept while it runs.
class TOffscreenScreen
{
public:
    TOffscreenScreen()
    {
        const QString screens = config_.filePath(QStringLiteral("screens.json"));
        QFile file(screens);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1024, "height": 768,
                   "logicalDpi": 96, "dpr": 1}]})");
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.toLocal8Bit());
        ready_ = true;
    }

    // False when the screen could not be described; the platform is then
    // left as it was.
    bool Ready() const { return ready_; }

private:
    QTemporaryDir config_;
    bool ready_ = false;
};
