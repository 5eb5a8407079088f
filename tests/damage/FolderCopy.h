// Copies of the program folder for tests that damage it, and the means to mend them between cases.
#pragma once

#include <string>
#include <vector>

namespace qj::test {

// The data set's files below `folder` (the build's program folder), relative, sorted: every
// regular file that is not a program.
std::vector<std::string> DataSetFiles(const std::string& folder);
// Copies those files from `from` into `to`.
void CopyFiles(const std::string& from, const std::string& to, const std::vector<std::string>& files);
// Makes `copy` hold exactly the files of `original`: files that are missing, or differ in size or
// time from the original, are copied again; files and folders the original lacks are removed.
void MendCopy(const std::string& original, const std::string& copy);

}  // namespace qj::test
