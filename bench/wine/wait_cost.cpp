// What waiting for a started program costs the waiting process.
#include <windows.h>

#include "bench_support.h"
#include "measures.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_text_codec.h"

namespace kelpo::bench {
namespace {

// Burns CPU for the wall time given and reports the CPU time the process clock saw.
double BusyCpuSeconds(double seconds) {
  const double before = ProcessCpuSeconds();
  const Stopwatch clock;
  volatile unsigned spin = 0;
  while (clock.Seconds() < seconds) spin = spin + 1;
  return ProcessCpuSeconds() - before;
}

}  // namespace

WaitCost MeasureWaitForProgram(int milliseconds) {
  WaitCost result;
  result.calibration = BusyCpuSeconds(0.2);
  Win32TextCodec codec;
  const std::wstring sleeper = L"\"" + Win32Files().ProgramFolder() + L"\\bench_sleeper.exe\" " +
                               std::to_wstring(milliseconds);
  Win32Processes processes;
  const double cpu_before = ProcessCpuSeconds();
  const Stopwatch clock;
  const OwnedProcess started = processes.Start(sleeper);
  if (!started) {
    result.why = "bench_sleeper.exe did not start";
    return result;
  }
  processes.WaitUntilEnded(*started);
  result.wall = clock.Seconds();
  result.cpu = ProcessCpuSeconds() - cpu_before;
  result.ran = result.wall * 1000 >= milliseconds * 0.9;
  if (!result.ran) result.why = "the wait ended before the program did";
  return result;
}

}  // namespace kelpo::bench
