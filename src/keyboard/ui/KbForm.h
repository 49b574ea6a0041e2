// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CodePage.h"
#include "keyboard/KeyLookup.h"
#include "keyboard/KeyboardState.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

class TDataMod;
class TKbFm;
struct TKeyRow;

// One key of the on-screen keyboard: its face picture over the button's
// colour, pressed or not. It only shows; clicks do nothing. Its down state
// and which face it shows are the frame's TKeyButtons.
class ButtonType : public QAbstractButton
{
    Q_OBJECT
public:
    ButtonType(TKbFm& frame, std::size_t index, const TKeyRow& key);

    // The key's face, and its colour negative (InvertGlyph), in the
    // screen's pixel format; null when the key has no readable picture.
    QImage NormalGlyph;
    QImage InvertedGlyph;

    bool BlinkMode() const;
    int GroupIndex() const;
    bool Down() const;
    bool ShowsInvertedGlyph() const;
    std::int32_t Tag() const { return tag_; }
    // The colour of the face's bottom-left pixel; the palette's button
    // colour for a key without a face.
    QColor Color() const { return color_; }
    // A colour drawn under the face instead of the key's own, as the
    // statistics colour keys by their figures; none draws the key's own.
    std::optional<QColor> Shade() const { return shade_; }
    void SetShade(std::optional<QColor> shade);

    void SetHighlight(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint&) const override { return false; }

private:
    TKbFm& frame_;
    std::size_t index_;
    std::int32_t tag_;
    QColor color_;
    std::optional<QColor> shade_;
    // The faces as drawn, their transparent colour cleared.
    QImage normalDrawn_;
    QImage invertedDrawn_;
};

// The keyboard frame: the template's keyboard colour, and one ButtonType per
// key row, in Name order, so that button i belongs to row i of MainTbl.
class TKbFm : public QWidget
{
    Q_OBJECT
public:
    TKbFm(const TDataMod& dataMod, const TCodePage& codePage, QWidget* parent = nullptr);
    ~TKbFm() override;

    void ClearKeys();
    void FitToKeys();
    TKeyExtent KeyExtent() const;
    void BuildKeys(bool blinking);
    // The key of the character, marked; see TKeyButtons::FindKey.
    TFoundKey FindKey(unsigned char code);

    std::size_t ButtonCount() const { return buttons_.size(); }
    ButtonType* Button(std::size_t index) const { return buttons_.at(index); }

    TKeyButtons Keys;

private:
    const TDataMod& data_;
    const TCodePage codePage_;
    std::vector<ButtonType*> buttons_;

    void SetColor();
};
