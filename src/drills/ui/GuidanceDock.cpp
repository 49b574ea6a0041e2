// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ui/GuidanceDock.h"

#include "drills/DrillGuidance.h"
#include "keyboard/ui/keyboard.h"
#include "keyboard/ui/palm.h"

#include <QScreen>

TGuidanceDock::TGuidanceDock(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("GuidanceDock"));
    hide();
}

TGuidanceDock::~TGuidanceDock()
{
    // Before the children go with this widget: the guidance outlives every drill.
    Release();
}

bool TGuidanceDock::Holds() const
{
    return keyboard_ != nullptr;
}

void TGuidanceDock::Hold(TVKeyboard& keyboard, TPalmForm& leftHand, TPalmForm& rightHand)
{
    if (!Holds()) {
        keyboard_ = &keyboard;
        leftHand_ = &leftHand;
        rightHand_ = &rightHand;
        const std::array<QWidget*, 3> guests{&keyboard, &leftHand, &rightHand};
        for (std::size_t i = 0; i < guests.size(); ++i) {
            flags_[i] = guests[i]->windowFlags();
            guests[i]->setParent(this);
        }
    }
    const TEmbeddedPlaces places =
        PlaceEmbeddedGuidance(width(), keyboard.width(), keyboard.height(), leftHand.width(),
                              std::max(leftHand.height(), rightHand.height()));
    keyboard.show();
    leftHand.ShowIfUsed();
    rightHand.ShowIfUsed();
    if (isHidden()) {
        QWidget* drill = window();
        setFixedHeight(places.Height);
        setMinimumWidth(places.MinimumWidth);
        show();
        // The drill window keeps its boxes and grows by the band, as far as
        // its screen allows.
        const int room = drill->screen()->availableGeometry().height() -
                         (drill->frameGeometry().height() - drill->height());
        drill->resize(std::max(drill->width(), places.MinimumWidth),
                      std::min(drill->height() + places.Height, room));
    }
    Arrange();
}

void TGuidanceDock::Release()
{
    const std::array<QWidget*, 3> guests{keyboard_.data(), leftHand_.data(), rightHand_.data()};
    for (std::size_t i = 0; i < guests.size(); ++i) {
        if (guests[i] == nullptr)
            continue;
        guests[i]->hide();
        guests[i]->setParent(nullptr, flags_[i]);
    }
    keyboard_ = nullptr;
    leftHand_ = nullptr;
    rightHand_ = nullptr;
}

void TGuidanceDock::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Arrange();
}

void TGuidanceDock::Arrange()
{
    if (!Holds())
        return;
    const TEmbeddedPlaces places =
        PlaceEmbeddedGuidance(width(), keyboard_->width(), keyboard_->height(), leftHand_->width(),
                              std::max(leftHand_->height(), rightHand_->height()));
    keyboard_->move(places.KeyboardLeft, places.Top);
    leftHand_->move(places.LeftHandLeft, places.Top);
    rightHand_->move(places.RightHandLeft, places.Top);
}
