#include "ui/WindowPositions.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "config/SettingsFile.h"

namespace {

bool IsResizable(const QWidget* window) {
    return window->minimumSize() != window->maximumSize();
}

const QScreen* ScreenOf(const QWidget* window) {
    const QScreen* screen = window->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

QRect ScreenGeometry(const QWidget* window) {
    const QScreen* screen = ScreenOf(window);
    return screen ? screen->geometry() : QRect();
}

QRect WorkArea(const QWidget* window) {
    const QScreen* screen = ScreenOf(window);
    return screen ? screen->availableGeometry() : QRect();
}

bool IsFramed(const QWidget* window) {
    return !window->windowFlags().testFlag(Qt::FramelessWindowHint);
}

QMargins KnownFrame(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

QMargins FrameMargins(const QWidget* window) {
    if (!IsFramed(window))
        return {};
    if (const QMargins own = KnownFrame(window); !own.isNull())
        return own;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && IsFramed(other) && !KnownFrame(other).isNull())
            return KnownFrame(other);
    }
    return {};
}

// A resizable window first takes half the screen, so a first run opens at a sensible size.
void Centre(QWidget* window) {
    const QRect screen = ScreenGeometry(window);
    if (IsResizable(window))
        window->resize(screen.width() / 2, screen.height() / 2);
    window->move(KeptWithin(QRect(CentredOn(screen, FrameSize(window)), FrameSize(window)),
                            WorkArea(window)));
}

// A stored size larger than the work area is cut to it.
QSize FittingSize(const QWidget* window, QSize size, const QRect& area) {
    const QMargins frame = FrameMargins(window);
    return size.boundedTo(area.size().shrunkBy(frame));
}

bool ReadStoredSize(QWidget* window, const SettingsFile& settings, QSize* size) {
    const QString section = window->objectName();
    int32_t width = 0;
    int32_t height = 0;
    if (!settings.ReadInteger(section, settings_keys::kWidth, &width) ||
        !settings.ReadInteger(section, settings_keys::kHeight, &height))
        return false;
    if (width < 0 || height < 0)
        return false;
    *size = QSize(width, height);
    return true;
}

int CoveredArea(const QRect& frame, const QRect& obstacle) {
    const QRect covered = frame.intersected(obstacle);
    return covered.width() * covered.height();
}

}  // namespace

QSize FrameSize(const QWidget* window) {
    return window->size().grownBy(FrameMargins(window));
}

QRect WorkAreaAt(const QPoint& point, const QWidget* window) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    return screen != nullptr ? screen->availableGeometry() : WorkArea(window);
}

void CentreOnScreen(QWidget* window) {
    const QRect area = WorkArea(window);
    window->move(KeptWithin(QRect(CentredOn(area, FrameSize(window)), FrameSize(window)), area));
}

QPoint KeptWithin(const QRect& frame, const QRect& area) {
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    return QPoint(x, y);
}

QPoint ClearOf(const QRect& frame, const QRect& obstacle, const QRect& area) {
    if (!frame.intersects(obstacle))
        return frame.topLeft();
    const QSize size = frame.size();
    const int besideX = obstacle.center().x() - size.width() / 2;
    const int besideY = obstacle.center().y() - size.height() / 2;
    const QPoint candidates[] = {{besideX, obstacle.bottom() + 1},
                                 {besideX, obstacle.top() - size.height()},
                                 {obstacle.right() + 1, besideY},
                                 {obstacle.left() - size.width(), besideY}};
    QPoint best = frame.topLeft();
    int leastCovered = CoveredArea(frame, obstacle);
    for (const QPoint& candidate : candidates) {
        const QRect placed(KeptWithin(QRect(candidate, size), area), size);
        if (area.contains(placed) && !placed.intersects(obstacle))
            return placed.topLeft();
        if (const int covered = CoveredArea(placed, obstacle); covered < leastCovered) {
            leastCovered = covered;
            best = placed.topLeft();
        }
    }
    return best;
}

void RestorePositionBeside(QWidget* window, QWidget* other, const SettingsFile& settings) {
    RestorePosition(window, settings);
    int32_t top = 0;
    if (window == nullptr || other == nullptr || !other->isVisible() ||
        settings.ReadInteger(window->objectName(), settings_keys::kTop, &top))
        return;
    const QRect frame(window->pos(), FrameSize(window));
    const QRect otherFrame = other->frameGeometry();
    const QRect area = WorkAreaAt(frame.center(), window);
    const QPoint beside = ClearOf(frame, otherFrame, area);
    const int stackHeight = otherFrame.height() + frame.height();
    if (!QRect(beside, frame.size()).intersects(otherFrame) || stackHeight > area.height()) {
        window->move(beside);
        return;
    }
    const int stackTop = area.top() + (area.height() - stackHeight) / 2;
    other->move(otherFrame.left(), stackTop);
    const QPoint below(otherFrame.center().x() - frame.width() / 2, stackTop + otherFrame.height());
    window->move(KeptWithin(QRect(below, frame.size()), area));
}

std::optional<QPoint> PlaceOnWorkArea(int top, int left, const QRect& workArea) {
    if (top < workArea.top()) {
        top = workArea.top();
    } else if (top > workArea.bottom()) {
        return std::nullopt;
    }
    if (left < workArea.left()) {
        left = workArea.left();
    } else if (left > workArea.right()) {
        return std::nullopt;
    }
    return QPoint(left, top);
}

QPoint CentredOn(const QRect& screen, const QSize& windowSize) {
    // Whole-number halves rounding toward zero, as the stored positions are whole pixels.
    return QPoint(screen.left() + (screen.width() - windowSize.width()) / 2,
                  screen.top() + (screen.height() - windowSize.height()) / 2);
}

void RestorePosition(QWidget* window, const SettingsFile& settings) {
    if (window == nullptr)
        return;
    const QString section = window->objectName();
    int32_t top = 0;
    int32_t left = 0;
    if (!settings.ReadInteger(section, settings_keys::kTop, &top) ||
        !settings.ReadInteger(section, settings_keys::kLeft, &left)) {
        Centre(window);
        return;
    }
    const QRect area = WorkAreaAt(QPoint(left, top), window);
    if (IsResizable(window)) {
        QSize size;
        if (!ReadStoredSize(window, settings, &size)) {
            Centre(window);
            return;
        }
        window->resize(FittingSize(window, size, area));
    }
    const std::optional<QPoint> place = PlaceOnWorkArea(top, left, area);
    if (!place) {
        Centre(window);
        return;
    }
    window->move(KeptWithin(QRect(*place, FrameSize(window)), area));
}

void SavePosition(const QWidget* window, const SettingsFile& settings) {
    if (window == nullptr)
        return;
    // The position is the frame's corner, as move() takes it back; the size is the inside, as
    // resize() takes it back. Every window writes all four, whatever its border.
    const QString section = window->objectName();
    settings.WriteInteger(section, settings_keys::kTop, window->y());
    settings.WriteInteger(section, settings_keys::kLeft, window->x());
    settings.WriteInteger(section, settings_keys::kHeight, window->height());
    settings.WriteInteger(section, settings_keys::kWidth, window->width());
}
