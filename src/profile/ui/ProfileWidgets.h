// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"
#include "profile/ProfileVar.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

class QFontDialog;
class TCodePage;

// A drop-down of named colours (standard and system ones) that holds a
// colour code. A code it does not name gets an entry of its own, so that
// showing a colour and reading it back never changes it. With a "Custom..."
// entry, choosing that opens the colour dialog.
class TColorPicker : public QComboBox
{
    Q_OBJECT
public:
    explicit TColorPicker(bool withCustomEntry, QWidget* parent = nullptr);

    void SetColor(TColor color);
    TColor Color() const;

private:
    void Picked(int index);
    int AddColor(const QString& name, TColor color, int at);

    int customEntry_ = -1;
    int lastPicked_ = -1;
};

// The sample text of one of the profile's fonts; it carries the font,
// colour included.
class TFontSample : public QLineEdit
{
    Q_OBJECT
public:
    TFontSample(const TCodePage& codePage, QWidget* parent = nullptr);

    void SetSampleFont(const TFont& font);
    const TFont& SampleFont() const { return font_; }

private:
    const TCodePage& codePage_;
    TFont font_;
};

// The font dialog with a colour: face, size, style, underline and
// strike-out from Qt's font dialog, the colour from a picker beside it.
class TFontColorDialog : public QDialog
{
    Q_OBJECT
public:
    TFontColorDialog(const TFont& font, const TCodePage& codePage, QWidget* parent = nullptr);

    TFont ChosenFont() const;

    QFontDialog* FontDialog;
    TColorPicker* ColorBox;

private:
    const TCodePage& codePage_;
};

QFont ToQFont(const TFont& font, const TCodePage& codePage);
