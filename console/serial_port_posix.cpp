// Serial ports through termios: raw mode, and poll(2) for every wait. A
// port is this program's alone while it is open: flock(2) keeps out every
// other run, and the terminal's exclusive mode keeps out other programs'
// opens (those of root excepted).

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "baud_rates.h"
#include "serial_port.h"

namespace {

// termios' names for the rates of BaudRates, in the same order.
const speed_t BaudSpeeds[] = {B300,   B1200,  B2400,   B4800,   B9600,   B19200,
                              B38400, B57600, B115200, B230400, B460800, B921600};
static_assert(sizeof BaudSpeeds / sizeof BaudSpeeds[0] == BaudRateCount, "a speed for each rate");

class PosixSerialPort : public SerialPort {
  public:
    explicit PosixSerialPort(int descriptor) : descriptor_(descriptor) {}
    ~PosixSerialPort() override { close(descriptor_); }
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    void discardInput() override { tcflush(descriptor_, TCIFLUSH); }

    bool write(const std::string& text) override {
        std::size_t written = 0;
        while (written < text.size()) {
            const ssize_t count =
                ::write(descriptor_, text.data() + written, text.size() - written);
            if (count > 0) {
                written += static_cast<std::size_t>(count);
            } else if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                pollfd wanted = {descriptor_, POLLOUT, 0};
                poll(&wanted, 1, -1);
            } else if (count < 0 && errno != EINTR) {
                failure_ = std::strerror(errno);
                return false;
            }
        }
        return true;
    }

    std::ptrdiff_t read(char* buffer, std::size_t size, int waitMs) override {
        for (;;) {
            pollfd wanted = {descriptor_, POLLIN, 0};
            const int ready = poll(&wanted, 1, waitMs);
            if (ready == 0) {
                return 0;
            }
            // A signal cut the wait: nothing came, and the caller looks
            // at what the signal meant.
            if (ready < 0 && errno == EINTR) {
                return 0;
            }
            const ssize_t count = ready > 0 ? ::read(descriptor_, buffer, size) : -1;
            if (count > 0) {
                return count;
            }
            if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
                continue;
            }
            // A terminal whose other end has gone reads as EIO or nothing.
            hungUp_ = count == 0 || errno == EIO;
            failure_ = hungUp_ ? "the port hung up" : std::strerror(errno);
            return -1;
        }
    }

  private:
    int descriptor_;
};

bool setRaw(int descriptor, speed_t speed) {
    termios settings;
    if (tcgetattr(descriptor, &settings) != 0) {
        return false;
    }
    cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    return cfsetispeed(&settings, speed) == 0 && cfsetospeed(&settings, speed) == 0 &&
           tcsetattr(descriptor, TCSANOW, &settings) == 0;
}

}  // namespace

std::unique_ptr<SerialPort> openSerialPort(const std::string& name, long baudRate,
                                           std::string* failure) {
    std::size_t rate = 0;
    while (rate < BaudRateCount && BaudRates[rate] != baudRate) {
        ++rate;
    }
    if (rate == BaudRateCount) {
        *failure = "no such baud rate here";
        return nullptr;
    }
    // Without a carrier, open() would wait; CLOCAL then stops that for good.
    const int descriptor = open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        *failure = errno == EBUSY ? PortBusy : std::strerror(errno);
        return nullptr;
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        *failure = PortBusy;
        close(descriptor);
        return nullptr;
    }
    ioctl(descriptor, TIOCEXCL);
    if (!isatty(descriptor) || !setRaw(descriptor, BaudSpeeds[rate])) {
        *failure = isatty(descriptor) ? std::strerror(errno) : "not a serial port";
        close(descriptor);
        return nullptr;
    }
    return std::make_unique<PosixSerialPort>(descriptor);
}
