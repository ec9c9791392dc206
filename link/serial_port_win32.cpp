// SerialPort on Windows: synchronous, non-overlapped I/O on "//./COMn", opened
// exclusively, with the line settings and time-outs applied through the DCB
// and COMMTIMEOUTS.
#include "serial_port.h"

#include <windows.h>

namespace tarvo {

namespace {

HANDLE Handle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

const intptr_t kNoHandle = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);

bool IsGoneError(DWORD error) {
    return error == ERROR_BAD_COMMAND || error == ERROR_DEVICE_REMOVED ||
           error == ERROR_GEN_FAILURE || error == ERROR_OPERATION_ABORTED ||
           error == ERROR_INVALID_HANDLE || error == ERROR_ACCESS_DENIED;
}

std::wstring Widen(const std::string& utf8) {
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), length);
    return wide;
}

}  // namespace

SerialPort::SerialPort() : m_hComm(kNoHandle) {}

SerialPort::~SerialPort() = default;

bool SerialPort::IsOpen() const { return m_hComm != kNoHandle; }

int SerialPort::Open(const std::string& name) {
    // The name goes on unchanged: COM12 opens as //./COM12.
    std::wstring path = L"//./" + Widen(name);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           0, nullptr);
    m_hComm = reinterpret_cast<intptr_t>(h);
    ResetReadAhead();
    m_bDisconnected = false;
    return h != INVALID_HANDLE_VALUE;
}

void SerialPort::CloseHandleOnly() {
    if (m_hComm == kNoHandle) return;
    CloseHandle(Handle(m_hComm));
    m_hComm = kNoHandle;
}

int SerialPort::Close() {
    ResetReadAhead();
    // Whatever was written last (a cancel sequence, the reboot line) reaches
    // the phone before the port goes.
    FlushFileBuffers(Handle(m_hComm));
    BOOL closed = CloseHandle(Handle(m_hComm));
    m_hComm = kNoHandle;
    return closed ? 1 : 0;
}

int SerialPort::Configure(uint32_t baudRate, uint8_t byteSize, uint8_t parityCheck,
                          uint8_t parity, uint8_t stopBits) {
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    m_bLastResult = GetCommState(Handle(m_hComm), &dcb);
    if (!m_bLastResult) {
        CloseHandleOnly();
        return 0;
    }
    dcb.BaudRate = baudRate;
    dcb.ByteSize = byteSize;
    dcb.Parity = parity;
    dcb.StopBits = stopBits;
    // As a flags word: (old & 0xFFFFC481) | ((parityCheck & 1) << 1) | 0x4001.
    // fTXContinueOnXoff, fErrorChar and the high bits keep what was read.
    dcb.fBinary = 1;
    dcb.fParity = parityCheck & 1;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = 0;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fNull = 0;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fAbortOnError = 1;
    m_bLastResult = SetCommState(Handle(m_hComm), &dcb);
    if (!m_bLastResult) {
        CloseHandleOnly();
        return 0;
    }
    return 1;
}

int SerialPort::SetTimeouts(uint32_t readInterval, uint32_t readMultiplier, uint32_t readConstant,
                            uint32_t writeMultiplier, uint32_t writeConstant) {
    COMMTIMEOUTS timeouts{};
    m_bLastResult = GetCommTimeouts(Handle(m_hComm), &timeouts);
    if (!m_bLastResult) {
        CloseHandleOnly();
        return 0;
    }
    timeouts.ReadIntervalTimeout = readInterval;
    timeouts.ReadTotalTimeoutMultiplier = readMultiplier;
    timeouts.ReadTotalTimeoutConstant = readConstant;
    timeouts.WriteTotalTimeoutMultiplier = writeMultiplier;
    timeouts.WriteTotalTimeoutConstant = writeConstant;
    m_readIntervalMs = readInterval;
    m_readMultiplierMs = readMultiplier;
    m_readConstantMs = readConstant;
    m_bLastResult = SetCommTimeouts(Handle(m_hComm), &timeouts);
    if (!m_bLastResult) {
        CloseHandleOnly();
        return 0;
    }
    return 1;
}

int SerialPort::RawRead(uint8_t* buffer, size_t wanted) {
    DWORD got = 0;
    if (!ReadFile(Handle(m_hComm), buffer, static_cast<DWORD>(wanted), &got, nullptr)) {
        if (IsGoneError(GetLastError())) m_bDisconnected = true;
        return -1;
    }
    return static_cast<int>(got);
}

int SerialPort::RawWrite(const uint8_t* data, size_t length) {
    DWORD written = 0;
    if (!WriteFile(Handle(m_hComm), data, static_cast<DWORD>(length), &written, nullptr)) {
        if (IsGoneError(GetLastError())) m_bDisconnected = true;
        return -1;
    }
    return static_cast<int>(written);
}

int SerialPort::Purge() {
    return PurgeComm(Handle(m_hComm), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)
               ? 1 : 0;
}

}  // namespace tarvo
