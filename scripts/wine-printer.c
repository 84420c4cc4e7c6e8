/* Adds a print-to-file PostScript printer to a Wine prefix and makes it the default printer, so
 * that printing tests write PostScript into a file. Idempotent. Built and run by wine-start.sh.
 * Exit status 0 when the printer is there, 1 when it could not be added. */
#include <windows.h>
#include <winspool.h>

#include <stdio.h>

#define PRINTER_NAME L"MPCal PostScript File"
#define DRIVER_NAME L"MPCal PostScript Driver"

/* The generic PPD that Wine's spooler carries as a resource, written to the drivers folder. */
static BOOL WritePpd(const wchar_t *path) {
  HMODULE spooler = LoadLibraryExW(L"winspool.drv", NULL, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = spooler ? FindResourceW(spooler, MAKEINTRESOURCEW(1), L"PPDFILE") : NULL;
  HGLOBAL loaded = found ? LoadResource(spooler, found) : NULL;
  const void *bytes = loaded ? LockResource(loaded) : NULL;
  DWORD size = found ? SizeofResource(spooler, found) : 0, written = 0;
  HANDLE file;
  BOOL ok;
  if (!bytes || !size)
    return FALSE;
  file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE)
    return FALSE;
  ok = WriteFile(file, bytes, size, &written, NULL) && written == size;
  CloseHandle(file);
  return ok;
}

int wmain(void) {
  HANDLE printer = NULL;
  wchar_t folder[MAX_PATH], ppd[MAX_PATH];
  DWORD needed = 0;
  DRIVER_INFO_3W driver = {0};
  PRINTER_INFO_2W info = {0};

  if (!OpenPrinterW(PRINTER_NAME, &printer, NULL)) {
    if (!GetPrinterDriverDirectoryW(NULL, NULL, 1, (BYTE *)folder, sizeof folder, &needed))
      return 1;
    swprintf(ppd, MAX_PATH, L"%ls\\mpcal-generic.ppd", folder);
    if (!WritePpd(ppd))
      return 1;
    driver.cVersion = 3;
    driver.pName = DRIVER_NAME;
    driver.pDriverPath = L"wineps.drv";
    driver.pDataFile = ppd;
    driver.pConfigFile = L"wineps.drv";
    driver.pDefaultDataType = L"RAW";
    if (!AddPrinterDriverW(NULL, 3, (BYTE *)&driver) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
      return 1;
    info.pPrinterName = PRINTER_NAME;
    info.pPortName = L"FILE:";
    info.pDriverName = DRIVER_NAME;
    info.pPrintProcessor = L"WinPrint";
    info.pDatatype = L"RAW";
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    printer = AddPrinterW(NULL, 2, (BYTE *)&info);
    if (!printer)
      return 1;
  }
  ClosePrinter(printer);
  return SetDefaultPrinterW(PRINTER_NAME) ? 0 : 1;
}
