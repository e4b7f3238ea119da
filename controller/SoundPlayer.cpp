#include "controller/SoundPlayer.h"

#include <canberra.h>

#include <QFileInfo>

#include "config/ProgramFolder.h"

namespace {

// Without a sound card or a sound server the library only prints complaints on every open; the
// program is silent there anyway.
bool AudioOutputExists() {
    if (QFileInfo::exists(QStringLiteral("/dev/snd")) || qEnvironmentVariableIsSet("PULSE_SERVER"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && (QFileInfo::exists(runtime + QStringLiteral("/pulse/native")) ||
                                  QFileInfo::exists(runtime + QStringLiteral("/pipewire-0")));
}

}  // namespace

SoundPlayer::SoundPlayer(const ProgramFolder& folder) : folder_(folder) {}

SoundPlayer::~SoundPlayer() {
    if (context_ != nullptr)
        ca_context_destroy(context_);
}

bool SoundPlayer::EnsureContext() {
    // Opened at the first sound rather than at start, so a session that never plays one never
    // talks to the sound server; a failed open is not retried on every click.
    if (context_ != nullptr)
        return true;
    if (contextFailed_)
        return false;
    if (!AudioOutputExists() || ca_context_create(&context_) != CA_SUCCESS) {
        context_ = nullptr;
        contextFailed_ = true;
        return false;
    }
    ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Clipwright",
                            CA_PROP_APPLICATION_ID, "clipwright", nullptr);
    return true;
}

void SoundPlayer::Play(Sound sound) {
    std::lock_guard lock(mutex_);
    ++played_;
    if (!EnsureContext())
        return;
    const QString name = QStringLiteral("sounds/sound%1.wav").arg(static_cast<int>(sound));
    const QByteArray path = folder_.SuppliedFile(name).toLocal8Bit();
    // ca_context_play returns at once and plays in the background; a missing device or file
    // only makes it return an error, which leaves the program silent.
    ca_context_play(context_, static_cast<uint32_t>(sound), CA_PROP_MEDIA_FILENAME,
                    path.constData(), CA_PROP_EVENT_ID, "clipwright-controller", nullptr);
}

int SoundPlayer::PlayedCount() const {
    std::lock_guard lock(mutex_);
    return played_;
}
