// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Application.h"
#include "base/Errors.h"
#include "base/ui/MessageBoxes.h"

#include <QTimer>
#include <QtTest>

namespace {

// An object whose event handler fails, as a window does when a file it
// needs cannot be opened.
class TFailingObject : public QObject
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw TError("Unable to write to /data/twc.ini");
        return QObject::event(e);
    }
};

} // namespace

class TestErrorReport : public QObject
{
    Q_OBJECT

private slots:
    void uncaughtErrorIsShownAndTheProgramGoesOn()
    {
        std::vector<std::pair<TMessageBoxes::Kind, QString>> boxes;
        TMessageBoxes::SetResponder([&](TMessageBoxes::Kind kind, const QString& text) {
            boxes.emplace_back(kind, text);
            return true;
        });
        TFailingObject failing;
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        bool goesOn = false;
        QTimer::singleShot(0, [&] { goesOn = true; });
        QTRY_VERIFY(goesOn);
        TMessageBoxes::SetResponder({});

        QCOMPARE(boxes.size(), std::size_t{2});
        QCOMPARE(boxes[0].first, TMessageBoxes::Kind::Error);
        QCOMPARE(boxes[0].second, QStringLiteral("Unable to write to /data/twc.ini"));
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_error_report.moc"
