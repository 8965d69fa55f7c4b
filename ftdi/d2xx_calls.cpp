// Windows: FTDI's D2XX library, loaded when the program runs if it is
// installed (it comes with FTDI's driver; nothing of it is shipped here).
// Its functions as FTDI's programmer's guide declares them.
#include <windows.h>

#include <string>

#include "ftdi/ftdi_calls.h"

namespace korvex {
namespace {

using FtHandle = void*;
using FtStatus = ULONG;
constexpr FtStatus kFtOk = 0;
constexpr FtStatus kFtDeviceNotFound = 2;
constexpr FtStatus kFtDeviceNotOpened = 3;
constexpr DWORD kFtOpenBySerialNumber = 1;
constexpr DWORD kFtDevice232R = 5;
constexpr DWORD kFtDeviceXSeries = 9;
constexpr ULONG kReadTimeoutMs = 500;

using FtOpenEx = FtStatus(WINAPI*)(PVOID, DWORD, FtHandle*);
using FtClose = FtStatus(WINAPI*)(FtHandle);
using FtSetBitMode = FtStatus(WINAPI*)(FtHandle, UCHAR, UCHAR);
using FtSetBaudRate = FtStatus(WINAPI*)(FtHandle, ULONG);
using FtSetLatencyTimer = FtStatus(WINAPI*)(FtHandle, UCHAR);
using FtSetTimeouts = FtStatus(WINAPI*)(FtHandle, ULONG, ULONG);
using FtWrite = FtStatus(WINAPI*)(FtHandle, LPVOID, DWORD, LPDWORD);
using FtRead = FtStatus(WINAPI*)(FtHandle, LPVOID, DWORD, LPDWORD);
using FtCreateDeviceInfoList = FtStatus(WINAPI*)(LPDWORD);
using FtGetDeviceInfoDetail = FtStatus(WINAPI*)(DWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPVOID, LPVOID, FtHandle*);

template <typename Fn>
bool Take(HMODULE library, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    return fn != nullptr;
}

// D2XX's status as libftdi's codes, where the port tells them apart.
int CodeOf(FtStatus status) {
    switch (status) {
        case kFtOk: return 0;
        case kFtDeviceNotFound: return kFtdiNotFound;
        case kFtDeviceNotOpened: return kFtdiCannotClaim;  // another program has it open
        default: return -100 - static_cast<int>(status);
    }
}

class D2xxCalls final : public FtdiCalls {
public:
    explicit D2xxCalls(HMODULE library) : library_(library) {}
    ~D2xxCalls() override {
        if (handle_) close_(handle_);
        ::FreeLibrary(library_);
    }
    D2xxCalls(const D2xxCalls&) = delete;
    D2xxCalls& operator=(const D2xxCalls&) = delete;

    bool Load() {
        return Take(library_, "FT_OpenEx", openEx_) && Take(library_, "FT_Close", close_) &&
               Take(library_, "FT_SetBitMode", setBitMode_) && Take(library_, "FT_SetBaudRate", setBaudRate_) &&
               Take(library_, "FT_SetLatencyTimer", setLatencyTimer_) &&
               Take(library_, "FT_SetTimeouts", setTimeouts_) && Take(library_, "FT_Write", write_) &&
               Take(library_, "FT_Read", read_) && Take(library_, "FT_CreateDeviceInfoList", createList_) &&
               Take(library_, "FT_GetDeviceInfoDetail", getDetail_);
    }

    int FindAll(std::vector<FtdiDevice>& found) override {
        DWORD count = 0;
        if (const FtStatus s = createList_(&count); s != kFtOk) return Fail(s);
        int total = 0;
        for (DWORD i = 0; i < count; ++i) {
            DWORD flags = 0, type = 0, id = 0, location = 0;
            char serial[16] = {}, product[64] = {};
            FtHandle unused = nullptr;
            if (getDetail_(i, &flags, &type, &id, &location, serial, product, &unused) != kFtOk) continue;
            if (type != kFtDevice232R && type != kFtDeviceXSeries) continue;
            found.push_back({type == kFtDevice232R ? "FT232R" : "FT-X", serial});
            ++total;
        }
        return total;
    }
    int Open(const std::string& serial) override {
        std::string wanted = serial;
        if (wanted.empty()) {
            std::vector<FtdiDevice> found;
            if (const int n = FindAll(found); n < 0) return n;
            if (found.empty()) return Fail(kFtDeviceNotFound);
            wanted = found.front().serial;
        }
        if (const FtStatus s = openEx_(wanted.data(), kFtOpenBySerialNumber, &handle_); s != kFtOk) {
            handle_ = nullptr;
            return Fail(s);
        }
        setTimeouts_(handle_, kReadTimeoutMs, kReadTimeoutMs);
        return 0;
    }
    int SetBitmode(unsigned char outputs, unsigned char mode) override {
        return handle_ ? Fail(setBitMode_(handle_, outputs, mode)) : kFtdiDeviceGone;
    }
    int SetBaudrate(int baud) override {
        return handle_ ? Fail(setBaudRate_(handle_, static_cast<ULONG>(baud))) : kFtdiDeviceGone;
    }
    int SetLatencyTimer(unsigned char ms) override {
        return handle_ ? Fail(setLatencyTimer_(handle_, ms)) : kFtdiDeviceGone;
    }
    int Write(const unsigned char* data, int size) override {
        DWORD written = 0;
        if (!handle_) return kFtdiDeviceGone;
        if (const FtStatus s = write_(handle_, const_cast<unsigned char*>(data), static_cast<DWORD>(size), &written);
            s != kFtOk)
            return Fail(s);
        return static_cast<int>(written);
    }
    int Read(unsigned char* data, int size) override {
        DWORD got = 0;
        if (!handle_) return kFtdiDeviceGone;
        if (const FtStatus s = read_(handle_, data, static_cast<DWORD>(size), &got); s != kFtOk) return Fail(s);
        return static_cast<int>(got);
    }
    int Close() override {
        if (!handle_) return 0;
        const FtStatus s = close_(handle_);
        handle_ = nullptr;
        return Fail(s);
    }
    std::string ErrorString() override { return "D2XX status " + std::to_string(last_); }

private:
    int Fail(FtStatus status) {
        if (status != kFtOk) last_ = status;
        return CodeOf(status);
    }
    HMODULE library_;
    FtHandle handle_ = nullptr;
    FtStatus last_ = kFtOk;
    FtOpenEx openEx_ = nullptr;
    FtClose close_ = nullptr;
    FtSetBitMode setBitMode_ = nullptr;
    FtSetBaudRate setBaudRate_ = nullptr;
    FtSetLatencyTimer setLatencyTimer_ = nullptr;
    FtSetTimeouts setTimeouts_ = nullptr;
    FtWrite write_ = nullptr;
    FtRead read_ = nullptr;
    FtCreateDeviceInfoList createList_ = nullptr;
    FtGetDeviceInfoDetail getDetail_ = nullptr;
};

}  // namespace

std::unique_ptr<FtdiCalls> MakeFtdiCalls() {
    HMODULE library = ::LoadLibraryW(L"ftd2xx.dll");
    if (!library) return nullptr;  // no FTDI driver's library: the COM port path
    auto calls = std::make_unique<D2xxCalls>(library);
    if (!calls->Load()) return nullptr;
    return calls;
}

}  // namespace korvex
