#include "ui/WindowPositions.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

// A resizable window first takes half the screen, so a first run opens at a sensible size.
void Centre(QWidget* window) {
    const QRect screen = ScreenGeometry(window);
    if (IsResizable(window))
        window->resize(screen.width() / 2, screen.height() / 2);
    window->move(CentredOn(screen, window->size()));
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

}  // namespace

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
    if (IsResizable(window)) {
        QSize size;
        if (!ReadStoredSize(window, settings, &size)) {
            Centre(window);
            return;
        }
        window->resize(size);
    }
    const std::optional<QPoint> place = PlaceOnWorkArea(top, left, WorkArea(window));
    if (!place) {
        Centre(window);
        return;
    }
    window->move(*place);
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
