// The resident-memory peak of each phase of a run (cut, play, save, continue).
#pragma once

namespace qj::autoplay {

// Reads the kernel's high-water mark of resident memory and, when phases are measured apart,
// lowers it to the present size at the end of each phase. A lowered mark is lost to everyone,
// wait4's maximum (GNU time's %M) included; the meter keeps the highest it has seen in Whole().
class TPeakMeter {
 public:
  // Measuring apart, the first phase begins now, not when the process began.
  explicit TPeakMeter(bool separatePhases);
  // The peak since the previous phase ended (since the meter was made for the first), in megabytes. Where
  // the mark cannot be lowered, it is the peak since the start.
  double EndPhase();
  // The highest peak of the whole run so far.
  double Whole() const { return FWhole; }

 private:
  bool FSeparate;
  double FWhole = 0;
};

// The process's peak resident memory in megabytes: VmHWM, or the rusage maximum where /proc
// cannot be read.
double PeakResidentMegabytes();

}  // namespace qj::autoplay
