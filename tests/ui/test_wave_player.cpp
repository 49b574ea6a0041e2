// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/WavePlayer.h"

#include <QSoundEffect>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

// Without an audio device (as here) the effect neither hangs nor crashes;
// what matters is which file it was given and when the alert sounds instead.
class TestWavePlayer : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    int alerts_ = 0;

    std::string Media(const char* name) const
    {
        return std::string(TAPWREN_BUILD_DATA_DIR "../media/") + name;
    }

private slots:
    void init() { alerts_ = 0; }

    void makesNothingBeforeTheFirstCue()
    {
        TWavePlayer player(nullptr, [this] { ++alerts_; });
        QVERIFY(player.Effect() == nullptr);
        player.PlayCue(Media("word_ok.wav"));
        QVERIFY(player.Effect() != nullptr);
        QCOMPARE(player.Effect()->source().fileName(), QStringLiteral("word_ok.wav"));
        QTest::qWait(100);
        QCOMPARE(alerts_, 0);
    }

    void aNewCueTakesThePlaceOfTheOneSounding()
    {
        TWavePlayer player(nullptr, [this] { ++alerts_; });
        player.PlayCue(Media("word_err.wav"));
        player.PlayCue(Media("word_err.wav"));
        player.PlayCue(Media("word_ok.wav"));
        QCOMPARE(player.Effect()->source().fileName(), QStringLiteral("word_ok.wav"));
        QCOMPARE(alerts_, 0);
    }

    void missingOrUnplayableFileSoundsTheAlert()
    {
        TWavePlayer player(nullptr, [this] { ++alerts_; });
        player.PlayCue(Media("no-such-cue.wav"));
        QCOMPARE(alerts_, 1);
        player.PlayCue(Media("")); // a cue without a name names the media folder
        QCOMPARE(alerts_, 2);
        QVERIFY(player.Effect() == nullptr);

        const std::string broken = dir_.filePath(QStringLiteral("broken.wav")).toStdString();
        std::ofstream(broken) << "this is no wave file";
        player.PlayCue(broken);
        QTRY_COMPARE(alerts_, 3);
        player.PlayCue(broken);
        QCOMPARE(alerts_, 4);
    }
};

QTEST_MAIN(TestWavePlayer)
#include "test_wave_player.moc"
