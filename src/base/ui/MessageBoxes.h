// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here, so that a test can
// answer them instead of a person.
class TMessageBoxes
{
public:
    enum class Kind { Information, Warning, Error, Confirmation, Plain };

    // Given a box's kind and text, returns true for OK or Yes, false for No.
    using Responder = std::function<bool(Kind kind, const QString& text)>;

    static void Information(QWidget* parent, const QString& text);
    static void Warning(QWidget* parent, const QString& text);
    static void Error(QWidget* parent, const QString& text);
    // Yes and No; true for Yes.
    static bool Confirm(QWidget* parent, const QString& text);
    static void Plain(QWidget* parent, const QString& text);

    // Replaces the real boxes while set; an empty responder restores them.
    static void SetResponder(Responder responder);

private:
    static bool Show(QWidget* parent, Kind kind, const QString& text);
};
