// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the start-up benchmark: the least a Qt Widgets program can
// do to put a window on the screen.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Tapwren"));
    label.show();
    return app.exec();
}
