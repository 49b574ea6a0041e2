// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestCodePage.h"
#include "TestTemplates.h"
#include "base/CodePage.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "keyboard/MainData.h"
#include "keyboard/ZipArchive.h"
#include "keyboard/ui/KbForm.h"
#include "keyboard/ui/keyboard.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// A face of one colour, two pixels smaller than its key on every side.
std::string Face(TColor color, int width, int height)
{
    QImage image(width - 4, height - 4, QImage::Format_RGB32);
    image.fill(ToQColor(color));
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    return png.data().toStdString();
}

TKeyRow Key(const char* name, std::int32_t keyValue, std::int32_t keyType, std::int32_t finger,
            TColor face, int x, int y, int width = 26, int height = 26)
{
    return {.Name = name,
            .KeyValue = keyValue,
            .KeyType = keyType,
            .Finger = finger,
            .Glyph = Face(face, width, height),
            .Width = width,
            .Height = height,
            .X = x,
            .Y = y,
            .Hint = std::string("Key ") + name};
}

constexpr TColor Background = RGBColor(90, 90, 90);
constexpr TColor FaceA = RGBColor(242, 160, 160);
constexpr TColor FaceB = RGBColor(166, 221, 160);
constexpr TColor FaceBack = RGBColor(159, 208, 242);

// Right-most edge 400 (Back), lowest 150 (Space); Name order A, B, Back, Space.
const std::vector<TKeyRow>& Keys()
{
    static const std::vector<TKeyRow> keys = {
        Key("Space", 32, 2, 5, FaceB, 60, 124, 120, 26),
        Key("B", 66, 1, 3, FaceB, 33, 5),
        Key("Back", 8, 8, 9, FaceBack, 346, 5, 54, 26),
        Key("A", 65, 1, 0, FaceA, 5, 5),
    };
    return keys;
}
constexpr std::size_t A = 0, B = 1, Back = 2, Space = 3;

const std::vector<TCharRow> Chars = {
    {.Name = "a", .Code = 'a', .KeyNo = 65},
    {.Name = "b", .Code = 'b', .KeyNo = 66},
    {.Name = "backspace", .Code = 8, .KeyNo = 8},
    {.Name = "space", .Code = ' ', .KeyNo = 32},
};

QString WriteTemplate(const QTemporaryDir& dir, const std::vector<TKeyRow>& keys)
{
    const std::string zip = TemplateZip(keys, Chars, "bkcolor=" + std::to_string(Background));
    const QString path = dir.filePath(QStringLiteral("layout.twt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(zip.data(), static_cast<qint64>(zip.size())) != static_cast<qint64>(zip.size()))
        qFatal("cannot write the template");
    return path;
}

// The colour in the middle of the button, where its face is.
TColor FaceShown(ButtonType* button)
{
    const QImage image = button->grab().toImage();
    return FromQColor(image.pixelColor(image.width() / 2, image.height() / 2));
}

std::vector<std::size_t> DownButtons(const TVKeyboard& keyboard)
{
    std::vector<std::size_t> down;
    for (std::size_t i = 0; i < keyboard.KbFrame->ButtonCount(); ++i)
        if (keyboard.KbFrame->Button(i)->Down())
            down.push_back(i);
    return down;
}

constexpr TColor Negative(TColor color)
{
    return color ^ 0xFFFFFF;
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString template_;

    struct TKeyboard
    {
        TDataMod Data{Cp1252()};
        TVKeyboard Window{Data, Cp1252()};
    };

    std::unique_ptr<TKeyboard> Loaded(bool blinking)
    {
        auto keyboard = std::make_unique<TKeyboard>();
        keyboard->Window.SetBlinking(blinking);
        keyboard->Window.LoadTemplate(template_.toStdString());
        // As the main window leaves it: the keys cannot be clicked.
        keyboard->Window.KbFrame->setEnabled(false);
        return keyboard;
    }

private slots:
    // A template beyond the bounds is told to the user, and none of it is used.
    void hostileTemplateIsRefusedWithAnError()
    {
        std::vector<TKeyRow> keys = Keys();
        keys.back().Width = 2147483647; // key A
        QTemporaryDir dir;
        const QString path = WriteTemplate(dir, keys);
        std::vector<std::pair<TMessageBoxes::Kind, QString>> boxes;
        TMessageBoxes::SetResponder([&boxes](TMessageBoxes::Kind kind, const QString& text) {
            boxes.emplace_back(kind, text);
            return true;
        });
        TKeyboard keyboard;
        keyboard.Window.LoadTemplate(path.toStdString());
        TMessageBoxes::SetResponder({});
        QCOMPARE(boxes.size(), 1U);
        QCOMPARE(boxes[0].first, TMessageBoxes::Kind::Error);
        QCOMPARE(boxes[0].second, QStringLiteral("The keyboard template %1 cannot be used: the key "
                                                 "\"A\" has a size or place beyond 4096 pixels.")
                                      .arg(path));
        QCOMPARE(keyboard.Window.KbFrame->ButtonCount(), 0U);
        QCOMPARE(keyboard.Window.KbFrame->size(), QSize(10, 10));
    }

    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        template_ = WriteTemplate(dir_, Keys());
    }

    void buildsOneButtonPerKeyAndFitsThem()
    {
        auto keyboard = Loaded(true);
        TVKeyboard& window = keyboard->Window;
        QCOMPARE(window.objectName(), QStringLiteral("VKeyboard"));
        QVERIFY(window.windowFlags().testFlag(Qt::Tool));
        QCOMPARE(window.KbFrame->size(), QSize(410, 160));
        QCOMPARE(window.size(), QSize(410, 160));
        QCOMPARE(window.KbFrame->pos(), QPoint(0, 0));
        QCOMPARE(FromQColor(window.KbFrame->palette().color(QPalette::Window)), Background);

        struct TExpected
        {
            const char* hint;
            std::int32_t tag;
            int group;
            QRect geometry;
            TColor color;
        };
        const std::vector<TExpected> expected = {
            {"Key A", 65, 1, {5, 5, 26, 26}, FaceA},
            {"Key B", 66, 1, {33, 5, 26, 26}, FaceB},
            {"Key Back", 8, 0, {346, 5, 54, 26}, FaceBack},
            {"Key Space", 32, 1, {60, 124, 120, 26}, FaceB},
        };
        QCOMPARE(window.KbFrame->ButtonCount(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ButtonType* button = window.KbFrame->Button(i);
            QCOMPARE(button->Tag(), expected[i].tag);
            QCOMPARE(button->GroupIndex(), expected[i].group);
            QCOMPARE(button->geometry(), expected[i].geometry);
            QCOMPARE(FromQColor(button->Color()), expected[i].color);
            QVERIFY(button->BlinkMode());
            QCOMPARE(button->toolTip(), QString::fromLatin1(expected[i].hint));
            QCOMPARE(FromQColor(button->NormalGlyph.pixelColor(3, 3)), expected[i].color);
            QCOMPARE(FromQColor(button->InvertedGlyph.pixelColor(3, 3)),
                     Negative(expected[i].color));
        }

        // Loading again rebuilds the keys and forgets the mark.
        window.ShowKey('a');
        window.LoadTemplate(template_.toStdString());
        QCOMPARE(window.KbFrame->ButtonCount(), expected.size());
        QCOMPARE(window.Highlighted(), std::nullopt);
        QVERIFY(DownButtons(window).empty());
    }

    void emptyOrBrokenTemplateGivesABareFrame()
    {
        TDataMod data(Cp1252());
        TVKeyboard window(data, Cp1252());
        window.LoadTemplate(dir_.filePath(QStringLiteral("missing.twt")).toStdString());
        QCOMPARE(window.KbFrame->size(), QSize(10, 10));
        QCOMPARE(window.size(), QSize(10, 10));
        QCOMPARE(window.KbFrame->ButtonCount(), std::size_t{0});
        QVERIFY(window.ShowKey('a') > 9);
        window.TimerofKBTimer();

        // A key whose face is no picture is drawn without one.
        QTemporaryDir broken;
        std::vector<TKeyRow> keys = Keys();
        keys[0].Glyph = "not a picture";
        window.LoadTemplate(WriteTemplate(broken, keys).toStdString());
        ButtonType* space = window.KbFrame->Button(Space);
        QVERIFY(space->NormalGlyph.isNull() && space->InvertedGlyph.isNull());
        QCOMPARE(window.ShowKey(' '), 5);
        QVERIFY(space->Down());
        QVERIFY(!space->grab().isNull());
    }

    void steadyMarkShowsTheNegativeFace()
    {
        auto keyboard = Loaded(false);
        TVKeyboard& window = keyboard->Window;
        ButtonType* a = window.KbFrame->Button(A);
        ButtonType* b = window.KbFrame->Button(B);
        QCOMPARE(FaceShown(a), FaceA);

        QCOMPARE(window.ShowKey('a'), 0);
        QCOMPARE(window.Highlighted(), A);
        QVERIFY(a->Down() && a->ShowsInvertedGlyph());
        QCOMPARE(FaceShown(a), Negative(FaceA));
        window.TimerofKBTimer();
        window.TimerofKBTimer();
        QVERIFY(a->Down());
        QCOMPARE(FaceShown(a), Negative(FaceA));

        QCOMPARE(window.ShowKey('b'), 3);
        QVERIFY(!a->Down() && !a->ShowsInvertedGlyph());
        QCOMPARE(FaceShown(a), FaceA);
        QCOMPARE(FaceShown(b), Negative(FaceB));
        QCOMPARE(DownButtons(window), std::vector<std::size_t>{B});
    }

    void blinkingMarkGoesDownAndUp()
    {
        auto keyboard = Loaded(true);
        TVKeyboard& window = keyboard->Window;
        ButtonType* a = window.KbFrame->Button(A);
        QCOMPARE(window.ShowKey('a'), 0);
        const QImage pressed = a->grab().toImage();
        std::vector<bool> down;
        for (int tick = 0; tick < 4; ++tick) {
            window.TimerofKBTimer();
            down.push_back(a->Down());
            QCOMPARE(FaceShown(a), FaceA);
            // Pressed and lifted look different.
            QCOMPARE(a->grab().toImage() == pressed, a->Down());
        }
        QCOMPARE(down, (std::vector<bool>{true, false, true, false}));
    }

    void groupZeroKeyIsNeverPressed_data()
    {
        QTest::addColumn<bool>("blinking");
        QTest::newRow("steady") << false;
        QTest::newRow("blinking") << true;
    }

    void groupZeroKeyIsNeverPressed()
    {
        QFETCH(bool, blinking);
        auto keyboard = Loaded(blinking);
        TVKeyboard& window = keyboard->Window;
        ButtonType* back = window.KbFrame->Button(Back);
        QCOMPARE(window.ShowKey(8), 9);
        QCOMPARE(window.Highlighted(), Back);
        for (int tick = 0; tick < 3; ++tick) {
            QVERIFY(!back->Down());
            QCOMPARE(FaceShown(back), blinking ? FaceBack : Negative(FaceBack));
            window.TimerofKBTimer();
        }
    }

    void missingCharacterLeavesNoKeyMarked()
    {
        auto keyboard = Loaded(false);
        TVKeyboard& window = keyboard->Window;
        window.ShowKey('a');
        QVERIFY(window.ShowKey('z') > 9);
        QCOMPARE(window.Highlighted(), std::nullopt);
        window.TimerofKBTimer();
        QVERIFY(DownButtons(window).empty());
        for (std::size_t i = 0; i < window.KbFrame->ButtonCount(); ++i)
            QVERIFY(!window.KbFrame->Button(i)->ShowsInvertedGlyph());
    }

    void hidingStopsTheBlink()
    {
        auto keyboard = Loaded(true);
        TVKeyboard& window = keyboard->Window;
        QCOMPARE(window.TimerofKB->objectName(), QStringLiteral("TimerofKB"));
        QCOMPARE(window.TimerofKB->interval(), 250);
        QVERIFY(!window.TimerofKB->isActive());
        window.show();
        QVERIFY(window.TimerofKB->isActive());

        window.ShowKey('a');
        window.TimerofKBTimer();
        window.TimerofKBTimer();
        QVERIFY(window.Phase());
        window.TimerofKBTimer();
        QVERIFY(!window.Phase());
        window.hide();
        QVERIFY(!window.TimerofKB->isActive());
        QCOMPARE(window.Highlighted(), A);

        window.show();
        QVERIFY(window.TimerofKB->isActive());
        QVERIFY(!window.Phase());
        window.TimerofKBTimer();
        QVERIFY(!window.KbFrame->Button(A)->Down());
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
