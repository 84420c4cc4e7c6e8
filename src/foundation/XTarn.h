#pragma once
#include "foundation/HResult.h"

#include <exception>
#include <string>

namespace Tarn {

// Gives the message text of a status code. The portable default names the code in hexadecimal;
// the Windows library installs a lookup in the host's string table and the system's texts.
using StatusMessageLookup = std::wstring (*)(HResult status);
// Installs a lookup (null restores the default). Call before other threads raise errors.
void SetStatusMessageLookup(StatusMessageLookup lookup) noexcept;
std::wstring StatusMessage(HResult status);
// "Error 0x80004005." - used when no better text is known.
std::wstring DefaultStatusMessage(HResult status);

// A failure with a status code and the message text the user is shown. Constructing one writes
// a line "TARNBOOTLOG: XTARN: <message>" to std::wcerr.
class XTarn : public std::exception {
public:
  // The message comes from the status code. STG_E_OLDDLL (a document from a newer version) is
  // reported as the module's own code for that condition.
  explicit XTarn(HResult status);
  XTarn(HResult status, std::wstring message);

  HResult status() const noexcept { return status_; }
  const std::wstring& message() const noexcept { return message_; }
  // The message in UTF-8.
  const char* what() const noexcept override { return narrow_.c_str(); }

  static HResult ReportedStatus(HResult status) noexcept {
    return status == hr::oldDll ? hr::newerFormat : status;
  }

private:
  void Log() const noexcept;
  HResult status_;
  std::wstring message_;
  std::string narrow_;
};

// The status to report for the exception being handled: call only inside a catch block.
// std::bad_alloc gives E_OUTOFMEMORY, XTarn and XHResult their status, anything else E_FAIL.
HResult StatusFromCaught() noexcept;

} // namespace Tarn
