// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32SerialPort.h"

#include <cstdlib>
#include <cwctype>

#include "platform/SerialRefusals.h"
#include "platform/win32/Utf16.h"

namespace tarnwell {
namespace {

// The system's own text for `error`, without its closing full stop.
std::string SystemText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text != nullptr ? text : L"", n);
  ::LocalFree(text);
  while (!message.empty() && (message.back() == L'.' || std::iswspace(message.back()))) {
    message.pop_back();
  }
  return message.empty() ? "Error " + std::to_string(error) : Narrow(message);
}

SerialError NotSerial(const std::string& device) {
  return SerialError{8003, "not a serial device (" + device + ")"};
}

// 8 data bits, no parity, 1 stop bit, nothing but the speed taken from the device's own
// settings: no flow control, no character replaced or dropped, and reading goes on after a line
// error (the reader asks for the errors itself).
bool SetLine(HANDLE port, DWORD baud) {
  DCB line{};
  line.DCBlength = sizeof line;
  if (!::GetCommState(port, &line)) return false;
  line.BaudRate = baud;
  line.ByteSize = 8;
  line.Parity = NOPARITY;
  line.StopBits = ONESTOPBIT;
  line.fBinary = TRUE;
  line.fParity = FALSE;
  line.fOutxCtsFlow = FALSE;
  line.fOutxDsrFlow = FALSE;
  line.fDsrSensitivity = FALSE;
  line.fDtrControl = DTR_CONTROL_ENABLE;
  line.fRtsControl = RTS_CONTROL_ENABLE;
  line.fOutX = FALSE;
  line.fInX = FALSE;
  line.fErrorChar = FALSE;
  line.fNull = FALSE;
  line.fAbortOnError = FALSE;
  return ::SetCommState(port, &line) != 0;
}

}  // namespace

SerialError ComPortFailure(const std::string& device, DWORD error) {
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
    return SerialError{8001, "No such file or directory (" + device + ")"};
  }
  // Windows refuses a port another program holds as access denied.
  const bool held =
      error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_BUSY;
  return SerialError{
      8003, (held ? "in use by another program" : SystemText(error)) + " (" + device + ")"};
}

Win32SerialPort::Win32SerialPort(MessageWindow& window, const Clock& clock)
    : window_(window), clock_(clock), self_(std::make_shared<Win32SerialPort*>(this)) {}

Win32SerialPort::~Win32SerialPort() {
  StopTimer(reopenTimer_);
  CloseDevice();
}

std::optional<SerialError> Win32SerialPort::SetCommPort(std::int16_t port) {
  if (auto refused = PortNumberRefusal(wantOpen_, port)) return refused;
  commPort_ = port;
  return std::nullopt;
}

std::optional<SerialError> Win32SerialPort::SetSettings(const std::string& settings) {
  const auto baud = SettingsSpeed(settings);
  if (!baud) return InvalidPropertyValue();
  settings_ = settings;
  baud_ = static_cast<DWORD>(*baud);
  if (handle_ && !SetLine(handle_.Get(), baud_)) return ComPortFailure(Device(), ::GetLastError());
  return std::nullopt;
}

std::optional<SerialError> Win32SerialPort::SetPortOpen(bool open) {
  StopTimer(reopenTimer_);
  if (!open) {
    wantOpen_ = false;
    CloseDevice();
    claim_.Reset();
    kept_ = {};
    return std::nullopt;
  }
  if (wantOpen_) return PortAlreadyOpen();
  if (auto e = Claim()) return e;
  if (auto e = OpenDevice()) {
    claim_.Reset();
    return e;
  }
  wantOpen_ = true;
  return std::nullopt;
}

// Real Windows refuses a second opener of a COM port by itself (share mode 0); a named object
// per port does so where the system does not (Wine), for the programs of our own kind. It lives
// in the session's namespace, where no other user can make it first.
std::optional<SerialError> Win32SerialPort::Claim() {
  const std::wstring name = L"Local\\Tarnwell.serial." + Widen(Device());
  ::SetLastError(ERROR_SUCCESS);
  UniqueHandle claim(::CreateMutexW(nullptr, FALSE, name.c_str()));
  if (!claim || ::GetLastError() == ERROR_ALREADY_EXISTS) {
    return SerialError{8003, "in use by another program (" + Device() + ")"};
  }
  claim_ = std::move(claim);
  return std::nullopt;
}

// The reader waits for the driver's event of a character received, so the mask asks for it;
// read timeouts that return at once make a read of what waits never wait.
std::optional<SerialError> Win32SerialPort::OpenDevice() {
  const std::string device = Device();
  UniqueHandle port(::CreateFileW(Widen("\\\\.\\" + device).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
  if (!port) return ComPortFailure(device, ::GetLastError());
  DCB line{};
  line.DCBlength = sizeof line;
  if (!::GetCommState(port.Get(), &line)) return NotSerial(device);
  if (!SetLine(port.Get(), baud_)) return ComPortFailure(device, ::GetLastError());
  // Room for some 0.7 s at 921600 bit/s where the driver takes the hint.
  ::SetupComm(port.Get(), 65536, 4096);
  COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
  if (!::SetCommTimeouts(port.Get(), &timeouts) ||
      !::SetCommMask(port.Get(), EV_RXCHAR | EV_ERR | EV_BREAK)) {
    return ComPortFailure(device, ::GetLastError());
  }
  handle_ = std::move(port);
  device_ = std::make_unique<Win32CommDevice>(handle_.Get());
  reader_ = std::make_unique<Win32LineReader>(*device_, clock_, [this] { Wake(); });
  return std::nullopt;
}

void Win32SerialPort::CloseDevice() {
  StopTimer(paceTimer_);
  reader_.reset();
  device_.reset();
  handle_.Reset();
  handOverDue_ = false;
}

Received Win32SerialPort::Input() {
  Received in;
  std::swap(in, kept_);
  if (reader_) reader_->TakeInto(in);
  return in;
}

void Win32SerialPort::Wake() {
  if (handOverDue_.exchange(true)) return;
  window_.Post([port = std::weak_ptr<Win32SerialPort*>(self_)] {
    if (const auto alive = port.lock()) (*alive)->Woken();
  });
}

// Each hand-over costs the program its handling, so they come no more often than the wait the
// program allows; the reads keep their own instants meanwhile.
void Win32SerialPort::Woken() {
  if (paceTimer_ != 0) return;
  const ULONGLONG since = ::GetTickCount64() - lastHandOverMs_;
  if (handedOver_ && since < static_cast<ULONGLONG>(maxWaitMs_)) {
    paceTimer_ = window_.StartTimer(static_cast<unsigned>(maxWaitMs_ - since), [this] {
      StopTimer(paceTimer_);
      HandOver();
    });
  } else {
    HandOver();
  }
}

void Win32SerialPort::HandOver() {
  handOverDue_ = false;
  handedOver_ = true;
  lastHandOverMs_ = ::GetTickCount64();
  // A device gone leaves what it read here; it is looked for again once a second.
  if (reader_ && reader_->Lost()) {
    reader_->TakeInto(kept_);
    CloseDevice();
    if (wantOpen_ && reopenTimer_ == 0) {
      reopenTimer_ = window_.StartTimer(1000, [this] { TryReopen(); });
    }
  }
  if (handler_) handler_();
}

void Win32SerialPort::TryReopen() {
  if (!wantOpen_ || handle_ || !OpenDevice()) StopTimer(reopenTimer_);
}

void Win32SerialPort::StopTimer(UINT_PTR& timer) {
  if (timer != 0) window_.StopTimer(timer);
  timer = 0;
}

}  // namespace tarnwell
