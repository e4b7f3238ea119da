// The link thread: serves the link's jobs and, while polling is on, polls the deck between
// them. It never touches a widget; what it learns reaches the GUI through queued signals.
#pragma once

#include <QThread>

class TarnLink;

class DefVtrCmd : public QThread {
    Q_OBJECT

public:
    explicit DefVtrCmd(TarnLink& link);

protected:
    void run() override;

private:
    TarnLink& link_;
};
