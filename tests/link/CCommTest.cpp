// The serial transport on a pseudo-terminal: which ports open, busy and non-terminal devices,
// the read budgets and the purge before every write.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>

#include "ScriptedDevice.h"
#include "link/BusLineSettings.h"
#include "link/CComm.h"

namespace {

// Maps every port number to the test's pseudo-terminal.
class PtyResolver : public PortResolver {
public:
    explicit PtyResolver(QString path) : path_(std::move(path)) {}
    QString DevicePath(int) const override { return path_; }

private:
    QString path_;
};

}  // namespace

// A pseudo-terminal takes any parity without a word, so the settings are checked as values:
// from a port left cooked, with even parity, two stop bits and flow control by another program.
TEST(BusLineSettings, nineThousandSixHundredBaudEightDataBitsOddParityOneStopBitRaw) {
    termios cooked{};
    cooked.c_iflag = ICRNL | IXON | IXOFF | INPCK | PARMRK | ISTRIP;
    cooked.c_oflag = OPOST | ONLCR;
    cooked.c_cflag = CS7 | PARENB | CSTOPB | CRTSCTS;
    cooked.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    cooked.c_cc[VMIN] = 1;
    ::cfsetispeed(&cooked, B38400);
    ::cfsetospeed(&cooked, B38400);

    const termios bus = BusLineSettings(cooked);
    EXPECT_EQ(::cfgetispeed(&bus), static_cast<speed_t>(B9600));
    EXPECT_EQ(::cfgetospeed(&bus), static_cast<speed_t>(B9600));
    EXPECT_EQ(bus.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(bus.c_cflag & (PARENB | PARODD), static_cast<tcflag_t>(PARENB | PARODD));
    EXPECT_EQ(bus.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(bus.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    EXPECT_EQ(bus.c_iflag & (ICRNL | IXON | IXOFF | IXANY | INPCK | PARMRK | ISTRIP), 0u);
    EXPECT_EQ(bus.c_oflag & OPOST, 0u);
    EXPECT_EQ(bus.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(bus.c_cc[VMIN], 0);
    EXPECT_EQ(bus.c_cc[VTIME], 0);
}

TEST(CComm, portsOutsideOneToFourNeverOpenAndLeaveTheOpenPortAlone) {
    ScriptedDevice device;
    CComm comm;
    comm.SetPortResolver(std::make_unique<PtyResolver>(device.Path()));
    ASSERT_TRUE(comm.Open(2));
    EXPECT_EQ(comm.PortNumber(), 2);
    for (int port : {0, 5, 8, -1}) {
        EXPECT_FALSE(comm.Open(port));
        EXPECT_EQ(comm.PortNumber(), 2);
        EXPECT_TRUE(comm.IsOpen());
    }
}

TEST(CComm, busyMissingOrNonTerminalDevicesFailWithTheSystemErrorAndAClosedPortRefusesIo) {
    ScriptedDevice device;
    CComm first;
    ASSERT_TRUE(first.OpenPath(device.Path()));
    CComm second;
    EXPECT_FALSE(second.OpenPath(device.Path()));
    EXPECT_EQ(second.LastSystemError(), static_cast<uint32_t>(EBUSY));
    EXPECT_FALSE(second.IsOpen());
    first.Close();
    EXPECT_TRUE(second.OpenPath(device.Path()));

    CComm comm;
    EXPECT_FALSE(comm.OpenPath("/nonexistent/tty"));
    EXPECT_EQ(comm.LastSystemError(), static_cast<uint32_t>(ENOENT));
    EXPECT_FALSE(comm.OpenPath("/dev/null"));
    EXPECT_EQ(comm.LastSystemError(), static_cast<uint32_t>(ENOTTY));
    EXPECT_FALSE(comm.IsOpen());
    uint8_t buf[11] = {};
    EXPECT_FALSE(comm.Write(buf, 11));
    EXPECT_FALSE(comm.Read(buf, 11));
    comm.Close();  // closing a closed port is harmless
    EXPECT_FALSE(comm.IsOpen());
}

TEST(CComm, closeAndReopenAnyNumberOfTimes) {
    ScriptedDevice device;
    CComm comm;
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(comm.OpenPath(device.Path())) << i;
        ASSERT_TRUE(comm.Configure()) << i << " errno " << comm.LastSystemError();
        comm.Close();
    }
    EXPECT_FALSE(comm.IsOpen());
}

// An open port to a scripted device, and one request and its reply through it.
class OpenPort : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(comm.OpenPath(device.Path()) && comm.Configure()); }
    bool Exchange() {
        const uint8_t request[11] = {0xFF, 0xFF, 5};
        return comm.Write(request, 11) && comm.Read(reply, 11);
    }

    ScriptedDevice device;
    CComm comm;
    uint8_t reply[11] = {};
};

TEST_F(OpenPort, shortReplyFailsWithTheBytesCountedAndSilenceWithin150ms) {
    device.SetResponder([](const TarnFrame&) {
        ScriptedDevice::Bytes ten = ScriptedDevice::Reply(0x03);
        ten.pop_back();
        return ten;
    });
    EXPECT_FALSE(Exchange());
    EXPECT_EQ(comm.BytesRead(), 10u);

    device.SetResponder(nullptr);
    const int64_t start = NowMs();
    EXPECT_FALSE(Exchange());
    EXPECT_EQ(comm.BytesRead(), 0u);
    EXPECT_LT(NowMs() - start, 150);
}

TEST_F(OpenPort, replyArrivingByteByByteIsReadWhole) {
    device.SetBytePacing(1150);  // 9600 baud with parity
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x03, {7}); });
    ASSERT_TRUE(Exchange());
    EXPECT_EQ(comm.BytesRead(), 11u);
    EXPECT_EQ(reply[4], 7);
}

TEST_F(OpenPort, writeDiscardsTheRestOfAnEarlierReply) {
    device.Send({0xAA, 0xBB, 0xCC});  // the tail of a reply given up on
    usleep(20000);                    // let it reach our side of the line
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x03, {1, 2}); });
    ASSERT_TRUE(Exchange());
    EXPECT_EQ(reply[0], 0xFC);
    EXPECT_EQ(reply[4], 1);
}

// A reply that comes after its request was given up reaches us ahead of the next request's own
// reply; the later one is the answer, else every answer after it belongs to the request before.
TEST_F(OpenPort, lateReplyToAGivenUpRequestIsNeverTakenForTheNextOne) {
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Bytes{}; });
    EXPECT_FALSE(Exchange());
    device.SetResponder([](const TarnFrame&) {
        ScriptedDevice::Bytes late = ScriptedDevice::Reply(0x03, {1});
        const ScriptedDevice::Bytes own = ScriptedDevice::Reply(0x03, {6});
        late.insert(late.end(), own.begin(), own.end());
        return late;
    });
    ASSERT_TRUE(Exchange());
    EXPECT_EQ(reply[4], 6);

    // Once an answer came, a lone reply is taken as it is.
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x03, {7}); });
    ASSERT_TRUE(Exchange());
    EXPECT_EQ(reply[4], 7);

    EXPECT_FALSE(comm.LoneAfterLoss());

    // After a lost reply a lone one may be that late reply with this request's own lost: it is
    // handed on marked, for the frame layer to judge by the devices. The mark lasts one read.
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Bytes{}; });
    EXPECT_FALSE(Exchange());
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x03, {8}); });
    ASSERT_TRUE(Exchange());
    EXPECT_TRUE(comm.LoneAfterLoss());
    ASSERT_TRUE(Exchange());
    EXPECT_FALSE(comm.LoneAfterLoss());
}
