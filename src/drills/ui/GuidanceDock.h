// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

class TPalmForm;
class TVKeyboard;

// A band of a drill window, below its input box, that holds the on-screen
// keyboard and the two hands windows where they cannot be windows of their
// own. They keep drawing, blinking and marking as they do as windows; the
// band takes them in while the drill shows them and gives them back, as the
// hidden windows they were, when it hides them or is destroyed.
class TGuidanceDock : public QWidget
{
    Q_OBJECT
public:
    explicit TGuidanceDock(QWidget* parent = nullptr);
    ~TGuidanceDock() override;

    // Takes the three in and shows them (a hand the template gives no
    // fingers stays hidden); the drill window grows by the band's height.
    void Hold(TVKeyboard& keyboard, TPalmForm& leftHand, TPalmForm& rightHand);
    void Release();
    bool Holds() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();

    QPointer<TVKeyboard> keyboard_;
    QPointer<TPalmForm> leftHand_;
    QPointer<TPalmForm> rightHand_;
    // What they were as windows, to be again once given back.
    std::array<Qt::WindowFlags, 3> flags_{};
};
