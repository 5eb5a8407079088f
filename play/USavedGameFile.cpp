// The saved game's files: the score file's last record and the archive, replaced whole.
#include "play/USavedGameFile.h"

#include <algorithm>

#include "creation/UGameRecord.h"
#include "platform/Paths.h"
#include "platform/ZipMaster.h"

namespace qj {

// The stream is compressed as it is written and archived only when complete; the archive is
// replaced by a new one renamed over it, so a failure leaves the old one as it was.
bool WriteSaveJob(const TSaveJob& job, const TSaveProgress& progress, std::string& error) {
  if (!UpdateScoreFile(ChangeFileExt(job.SavPath, ".hsc"), job.Game.Record, error)) return false;
  TZipMaster zip;
  zip.AddCompLevel = std::clamp(job.CompressionLevel, 0, 9);
  zip.ZipFileName = ChangeFileExt(job.SavPath, ".zip");
  const int64_t total = progress ? int64_t(EncodedSize(job.Game, job.OrientationHigh)) : 0;
  const auto write = [&](const TByteSink& sink) {
    int64_t done = 0;
    if (progress) progress(0, total);
    EncodeSavedGame(job.Game, job.OrientationHigh, [&](const uint8_t* data, size_t size) {
      sink(data, size);
      if (progress) progress(done += int64_t(size), total);
    });
  };
  if (zip.AddMemberFromWriter(ExtractFileName(job.SavPath), write)) return true;
  error = zip.LastError();
  return false;
}

}  // namespace qj
