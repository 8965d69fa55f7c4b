#include <ftdi.h>

#include "ftdi/ftdi_calls.h"

namespace korvex {
namespace {

constexpr int kFtdiVendor = 0x0403;
// FT232R, then the FT-X series (FT230X, FT231X, FT234XD share one id).
constexpr int kProducts[] = {0x6001, 0x6015};

class LibFtdiCalls final : public FtdiCalls {
public:
    LibFtdiCalls() : ftdi_(ftdi_new()) {
        // The serial driver is detached for the session and attached again on
        // close, so the tty comes back.
        if (ftdi_) ftdi_->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
    }
    ~LibFtdiCalls() override {
        if (!ftdi_) return;
        if (open_) ftdi_usb_close(ftdi_);
        ftdi_free(ftdi_);
    }
    LibFtdiCalls(const LibFtdiCalls&) = delete;
    LibFtdiCalls& operator=(const LibFtdiCalls&) = delete;

    int FindAll(std::vector<FtdiDevice>& found) override {
        if (!ftdi_) return -1;
        int total = 0;
        for (int product : kProducts) {
            ftdi_device_list* list = nullptr;
            const int n = ftdi_usb_find_all(ftdi_, &list, kFtdiVendor, product);
            if (n < 0) return n;
            for (ftdi_device_list* d = list; d; d = d->next) {
                char serial[64] = {};
                if (ftdi_usb_get_strings(ftdi_, d->dev, nullptr, 0, nullptr, 0, serial, sizeof serial) < 0) continue;
                found.push_back({product == 0x6001 ? "FT232R" : "FT-X", serial});
                ++total;
            }
            ftdi_list_free(&list);
        }
        return total;
    }
    int Open(const std::string& serial) override {
        if (!ftdi_) return -1;
        int result = kFtdiNotFound;
        for (int product : kProducts) {
            result =
                ftdi_usb_open_desc(ftdi_, kFtdiVendor, product, nullptr, serial.empty() ? nullptr : serial.c_str());
            if (result != kFtdiNotFound) break;
        }
        open_ = result == 0;
        return result;
    }
    int SetBitmode(unsigned char outputs, unsigned char mode) override {
        return ftdi_set_bitmode(ftdi_, outputs, mode);
    }
    int SetBaudrate(int baud) override { return ftdi_set_baudrate(ftdi_, baud); }
    int SetLatencyTimer(unsigned char ms) override { return ftdi_set_latency_timer(ftdi_, ms); }
    int Write(const unsigned char* data, int size) override { return ftdi_write_data(ftdi_, data, size); }
    int Read(unsigned char* data, int size) override { return ftdi_read_data(ftdi_, data, size); }
    int Close() override {
        if (!open_) return 0;
        open_ = false;
        return ftdi_usb_close(ftdi_);
    }
    std::string ErrorString() override { return ftdi_ ? ftdi_get_error_string(ftdi_) : "ftdi_new failed"; }

private:
    ftdi_context* ftdi_;
    bool open_ = false;
};

}  // namespace

std::unique_ptr<FtdiCalls> MakeFtdiCalls() { return std::make_unique<LibFtdiCalls>(); }

}  // namespace korvex
