#include "link/ExchangeRing.h"

#include <QDateTime>

ExchangeRing::ExchangeRing(size_t capacity) {
    records_.reserve(capacity);
}

void ExchangeRing::Add(const ExchangeRecord& record) {
    std::lock_guard lock(mutex_);
    if (records_.size() < records_.capacity()) {
        records_.push_back(record);
    } else {
        records_[next_] = record;
        next_ = (next_ + 1) % records_.size();
    }
    ++total_;
}

std::vector<ExchangeRecord> ExchangeRing::Records() const {
    std::lock_guard lock(mutex_);
    std::vector<ExchangeRecord> ordered(records_.begin() + static_cast<ptrdiff_t>(next_),
                                        records_.end());
    ordered.insert(ordered.end(), records_.begin(),
                   records_.begin() + static_cast<ptrdiff_t>(next_));
    return ordered;
}

uint64_t ExchangeRing::TotalAdded() const {
    std::lock_guard lock(mutex_);
    return total_;
}

QString ExchangeRing::ResultName(LinkResult result) {
    switch (result) {
        case LinkResult::Ok:
            return QStringLiteral("ok");
        case LinkResult::NotWritten:
            return QStringLiteral("not written (2)");
        case LinkResult::NoReply:
            return QStringLiteral("no reply (3)");
        case LinkResult::BadMarks:
            return QStringLiteral("bad marks (4)");
        case LinkResult::BadCheck:
            return QStringLiteral("bad check byte (5)");
        case LinkResult::BadId:
            return QStringLiteral("bad id (6)");
    }
    return QString::number(static_cast<int>(result));
}

QString ExchangeRing::Line(const ExchangeRecord& record) {
    const QString time =
        QDateTime::fromMSecsSinceEpoch(record.utcMs, Qt::UTC).toString("HH:mm:ss.zzz");
    QString line = QStringLiteral("%1 UTC %2 ms  %3 -> %4  %5")
                       .arg(time)
                       .arg((record.endUs - record.startUs) / 1000.0, 6, 'f', 1)
                       .arg(tarn::FrameToHex(record.request), tarn::FrameToHex(record.reply),
                            ResultName(record.result));
    if (record.serialError != 0)
        line += QStringLiteral(" (system error %1)").arg(record.serialError);
    return line;
}
