// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ui/FramedWindow.h"

#include "base/FrameFit.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

const QMargins AssumedWaylandFrame(4, 32, 4, 4);

QMargins DrawnFrame(const QWidget& window)
{
    return window.windowHandle() != nullptr ? window.windowHandle()->frameMargins() : QMargins();
}

// Keeps a window's wanted place, and places the window again when its real
// frame turns out to differ from the one it was placed with.
class TFramePlacer : public QObject
{
public:
    static TFramePlacer* Find(const QWidget& window)
    {
        for (QObject* child : window.children())
            if (auto* placer = dynamic_cast<TFramePlacer*>(child))
                return placer;
        return nullptr;
    }

    static TFramePlacer& Of(QWidget& window)
    {
        TFramePlacer* placer = Find(window);
        return placer != nullptr ? *placer : *new TFramePlacer(window);
    }

    QRect Placed() const { return placed_; }

    void Place(TWholeRect whole, TFramedSize size)
    {
        whole_ = std::move(whole);
        size_ = size;
        WatchHandle();
        Apply(FrameMargins(window_));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool framed = (watched == &window_ &&
                             (event->type() == QEvent::Show || event->type() == QEvent::Move)) ||
                            (watched == handle_ && event->type() == QEvent::Expose);
        if (framed) {
            WatchHandle();
            const QMargins frame = DrawnFrame(window_);
            if (!frame.isNull() && frame != applied_)
                Apply(frame);
        }
        return false;
    }

private:
    explicit TFramePlacer(QWidget& window) : QObject(&window), window_(window)
    {
        window.installEventFilter(this);
    }

    // The frame is told to the window's handle, which exists once shown.
    void WatchHandle()
    {
        QWindow* handle = window_.windowHandle();
        if (handle != nullptr && handle != handle_) {
            handle_ = handle;
            handle->installEventFilter(this);
        }
    }

    void Apply(const QMargins& frame)
    {
        applied_ = frame;
        const QRect area = window_.screen()->availableGeometry();
        const QRect whole = whole_(frame);
        const TScreenRect inside =
            FitFramed({area.x(), area.y(), area.width(), area.height()},
                      {frame.left(), frame.top(), frame.right(), frame.bottom()},
                      {whole.x(), whole.y(), whole.width(), whole.height()});
        switch (size_) {
        case TFramedSize::Fixed:
            window_.setFixedSize(inside.Width, inside.Height);
            window_.setGeometry(inside.Left, inside.Top, inside.Width, inside.Height);
            break;
        case TFramedSize::Free:
            window_.setGeometry(inside.Left, inside.Top, inside.Width, inside.Height);
            break;
        case TFramedSize::Kept:
            window_.setGeometry(inside.Left, inside.Top, window_.width(), window_.height());
            break;
        }
        placed_ = window_.geometry();
    }

    QWidget& window_;
    QPointer<QWindow> handle_;
    TWholeRect whole_;
    TFramedSize size_ = TFramedSize::Kept;
    QMargins applied_;
    QRect placed_;
};

} // namespace

QMargins FrameMargins(const QWidget& window)
{
    const QMargins own = DrawnFrame(window);
    if (!own.isNull())
        return own;
    // A Wayland compositor that draws the frames itself (sway, KDE Plasma)
    // does not tell their size: leave room for a title bar and borders.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return AssumedWaylandFrame;
    QMargins other;
    for (const QWidget* shown : QApplication::topLevelWidgets()) {
        const QMargins frame =
            shown != &window && shown->isVisible() ? DrawnFrame(*shown) : QMargins();
        if (frame.isNull())
            continue;
        if (shown->windowType() == window.windowType())
            return frame;
        if (other.isNull())
            other = frame;
    }
    return other;
}

QRect FramedGeometry(const QWidget& window)
{
    return window.geometry().marginsAdded(FrameMargins(window));
}

void PlaceFramed(QWidget& window, TWholeRect whole, TFramedSize size)
{
    TFramePlacer::Of(window).Place(std::move(whole), size);
}

QRect PlacedGeometry(const QWidget& window)
{
    const TFramePlacer* placer = TFramePlacer::Find(window);
    return placer != nullptr ? placer->Placed() : window.geometry();
}
