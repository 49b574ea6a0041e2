// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/WavePlayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

TWavePlayer::TWavePlayer(QObject* parent, std::function<void()> alert)
    : QObject(parent), alert_(alert ? std::move(alert) : [] { QApplication::beep(); })
{}

void TWavePlayer::PlayCue(const std::string& path)
{
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile()) {
        alert_();
        return;
    }
    if (!effect_) {
        effect_ = new QSoundEffect(this);
        connect(effect_, &QSoundEffect::statusChanged, this, &TWavePlayer::EffectStatusChanged);
    }
    const QUrl source = QUrl::fromLocalFile(file);
    if (effect_->source() != source) {
        effect_->setSource(source); // stops the cue sounding
    } else if (effect_->status() == QSoundEffect::Error) {
        alert_();
        return;
    } else {
        effect_->stop();
    }
    effect_->play();
}

void TWavePlayer::EffectStatusChanged()
{
    if (effect_->status() == QSoundEffect::Error)
        alert_();
}
