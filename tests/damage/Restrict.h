// Folders a test makes unwritable and files it keeps from growing, for one forked child at a time.
#pragma once

#include <string>

namespace qj::test {

// Makes the folder read-only for this process and its children. Permissions do not bind root,
// so as root the folder is bound read-only over itself in a mount namespace of the process's own;
// otherwise its permissions are taken away (RestoreWritable gives them back). Returns why not
// when neither works; empty when the folder refuses a new file.
std::string MakeReadOnly(const std::string& folder);
void RestoreWritable(const std::string& folder);
// What a write into such a folder fails with, as the system words it.
std::string ReadOnlyCause();

// As root: a small file system of its own mounted over the folder (in a mount namespace of the
// process's own), holding copies of the folder's files and a filler file, ".filler", that leaves
// `room` bytes free. Returns why not when it cannot be mounted.
std::string MountNearlyFull(const std::string& folder, long room);

// Every file this process writes stops growing at `bytes`: a full disk that fails with EFBIG
// rather than killing the process with SIGXFSZ.
std::string LimitFileSize(long bytes);

}  // namespace qj::test
