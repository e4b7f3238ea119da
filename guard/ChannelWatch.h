// The guard's watch over its channel to the program: what runs, what the decks are doing, the
// program's beats. It ends when the program says the decks are safe and closes the channel,
// when the channel closes while they are not (the program died), or when no beat has come
// for the hang limit while the recorder records (the program hangs or was stopped); then it
// tells the program, should it wake, that the guard has taken the bus.
#pragma once

#include <QString>

class ChannelWatch {
public:
    enum class End { Safe, ProgramDied, ProgramHung };

    explicit ChannelWatch(int channelFd) : channel_(channelFd) {}

    End Watch();
    // The last operation the program named, as the note names it (autorec, edit, ...).
    QString OperationCode() const;
    bool Recording() const { return recording_; }

private:
    // Takes in one byte of the channel.
    void Take(char byte);

    int channel_;
    char operation_ = 'a';
    bool recording_ = false;
    bool safe_ = false;
    int64_t lastBeatMs_ = 0;
};
