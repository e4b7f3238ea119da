#include "link/CTarnIO.h"

#include <QDateTime>

#include "link/LinkLog.h"
#include "link/LinkTiming.h"

CTarnIO::CTarnIO(ByteLine& comm, Clock& clock, QObject* parent)
    : QObject(parent), comm_(comm), clock_(clock) {
    qRegisterMetaType<TarnTrace>();
}

void CTarnIO::PrepareFrame(uint8_t id, const TarnCommand& command) {
    request_[tarn::kIdByte] = id;
    for (int i = 0; i < 7; ++i)
        request_[3 + i] = command[i];
}

void CTarnIO::WaitForGap() {
    // An answered request moves the last send time back by a whole gap, so only requests that
    // went unanswered hold the next one back.
    if (!everSent_)
        return;
    const int64_t since = clock_.NowMs() - lastSendMs_;
    if (since >= 0 && since < linktiming::kInterFrameGapMs) {
        clock_.Sleep(static_cast<int>(linktiming::kInterFrameGapMs - since));
    }
}

LinkResult CTarnIO::Transact() {
    startUs_ = clock_.NowUs();
    received_.fill(0);
    const int id = request_[tarn::kIdByte];
    if (!tarn::IsSendableId(id))
        return Finish(LinkResult::BadId);
    lastResult_ = LinkResult::Ok;
    request_[0] = tarn::kRequestMark;
    request_[1] = tarn::kRequestMark;
    request_[tarn::kCheckByte] = tarn::CheckByte(request_);
    WaitForGap();
    const bool written = comm_.Write(request_.data(), request_.size());
    lastSendMs_ = clock_.NowMs();
    lastHeardUs_ = clock_.NowUs() + linktiming::kRequestLineUs;
    everSent_ = true;
    if (!written) {
        // Without a port, or with one whose device is gone, nothing can be sent again. A write
        // error or a drain time-out on a port still there is a lost exchange like a missing
        // reply, which a retry may well get through.
        if (!comm_.IsOpen() || comm_.HungUp())
            return Finish(LinkResult::NotWritten);
        reply_.fill(0);
        return Finish(LinkResult::NoReply);
    }
    if (!tarn::IsAnsweringId(id))
        return Finish(LinkResult::Ok);

    TarnFrame in{};
    if (!comm_.Read(in.data(), in.size())) {
        lostReplyId_ = request_[tarn::kIdByte];
        reply_.fill(0);
        return Finish(LinkResult::NoReply);
    }
    received_ = in;
    // Only a valid reply lifts the gap. Eleven bytes that are not one may be noise ahead of a
    // reply whose tail is still on the line: the gap lets the tail arrive before the next
    // request's flush, where it would otherwise spoil the next reply, and the one after it.
    if (!tarn::HasReplyMarks(in)) {
        reply_.fill(0);
        return Finish(LinkResult::BadMarks);
    }
    if (!tarn::HasValidCheckByte(in)) {
        reply_.fill(0);
        return Finish(LinkResult::BadCheck);
    }
    if (tarn::IsFromOtherDevice(in, request_[tarn::kIdByte])) {
        // Another device's reply to an earlier request, come late: this one's own is missing.
        qCInfo(lcLink) << "reply from id" << int{in[tarn::kIdByte]} << "to a request for id"
                       << int{request_[tarn::kIdByte]};
        reply_.fill(0);
        return Finish(LinkResult::NoReply);
    }
    if (comm_.LoneAfterLoss() && !NamesThisDeviceAfterAnothersLoss(in)) {
        // Perhaps the reply given up on, come late, with this request's own lost: no answer.
        qCInfo(lcLink) << "a lone reply after a lost one, from id" << int{in[tarn::kIdByte]}
                       << ": taken for the late one";
        reply_.fill(0);
        return Finish(LinkResult::NoReply);
    }
    lastSendMs_ = clock_.NowMs() - linktiming::kInterFrameGapMs;
    reply_ = in;
    return Finish(LinkResult::Ok);
}

bool CTarnIO::NamesThisDeviceAfterAnothersLoss(const TarnFrame& reply) const {
    const uint8_t id = request_[tarn::kIdByte];
    return reply[tarn::kIdByte] == id && lostReplyId_ != id;
}

LinkResult CTarnIO::Finish(LinkResult result) {
    lastResult_ = result;
    const uint32_t serialError = comm_.LastSystemError();
    exchanges_.Add({QDateTime::currentMSecsSinceEpoch(), startUs_, clock_.NowUs(), request_,
                    received_, result, serialError});
    if (result != LinkResult::Ok) {
        qCInfo(lcLink).noquote() << "id" << int{request_[tarn::kIdByte]}
                                 << tarn::FrameToHex(request_) << "->"
                                 << ExchangeRing::ResultName(result) << "system error"
                                 << serialError;
    } else {
        qCDebug(lcLink).noquote() << tarn::FrameToHex(request_) << "->"
                                  << tarn::FrameToHex(received_);
    }
    emit Traced(TarnTrace{request_, reply_, serialError, result});
    return result;
}

bool CTarnIO::TransactRetry(int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0)
            qCInfo(lcLink) << "retry" << attempt << "of id" << int{request_[tarn::kIdByte]};
        const LinkResult r = Transact();
        // Garbage on the line or a bad frame is not something a repeat would cure.
        if (r != LinkResult::Ok && r != LinkResult::NoReply)
            return false;
        // The status is 0 after a time-out, so silence is retried.
        const tarn::Verdict verdict = tarn::VerdictOf(Status());
        if (verdict != tarn::Verdict::Again)
            return verdict == tarn::Verdict::Accepted;
    }
    return false;
}
