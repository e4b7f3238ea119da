#include "app/SignalEnd.h"

#include <unistd.h>

#include <QApplication>
#include <QDialog>

#include "app/ProgramWindows.h"
#include "engine/StopSignals.h"

namespace {

// How often the program looks whether the stopped operation has left the decks.
constexpr int kIdleCheckMs = 50;

// A modal box open when the signal came (a question, the tape change) is answered No.
void DismissModalBox() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

}  // namespace

SignalEnd::SignalEnd(ProgramWindows& windows, QObject* parent)
    : QObject(parent), windows_(windows) {
    stopsignals::Catch();
    if (stopsignals::NotifyFd() >= 0) {
        notifier_ = new QSocketNotifier(stopsignals::NotifyFd(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &SignalEnd::OnSignal);
    }
    idleCheck_.setInterval(kIdleCheckMs);
    connect(&idleCheck_, &QTimer::timeout, this, &SignalEnd::ActWhenIdle);
}

void SignalEnd::OnSignal() {
    char byte = 0;
    while (::read(stopsignals::NotifyFd(), &byte, 1) > 0) {
    }
    // Signals that follow are read too: they change nothing once the end is under way.
    idleCheck_.start();
    ActWhenIdle();
}

void SignalEnd::ActWhenIdle() {
    const bool ending = stopsignals::Received() != 0;
    if (ending)
        DismissModalBox();
    // The progress window is up while any operation on the decks runs (the engine's, a
    // measurement, a scan); each ends by itself once it has seen the signal.
    if (windows_.deck().engine().IsRunning() || windows_.progress().isVisible())
        return;
    idleCheck_.stop();
    if (ending) {
        windows_.mainWindow().EndWithoutQuestions();
        QCoreApplication::quit();
    } else if (stopsignals::SuspendRequested()) {
        // The decks stand; the program goes on where it was once continued.
        stopsignals::SuspendNow();
    }
}
