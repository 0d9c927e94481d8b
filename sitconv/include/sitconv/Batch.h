// The converter's batch: every file below <folder>/source is converted into
// <folder>/out/<file name>.
#ifndef SITCONV_BATCH_H
#define SITCONV_BATCH_H

#include <iosfwd>
#include <string>

namespace HQ {

class MarkTypeSource;

// Runs the batch for exeFolder (the executable's folder; see dir::getExeDir).
// The files are listed recursively (dir::listFiles order) and converted one
// after the other; outputs go flat into "out", which is created when
// missing. Answers the exit status: 0 when every file was converted without
// problem (also when "source" is absent or empty), 1 otherwise. Problems are
// written to errors, one line each: a file that cannot be read (the batch
// goes on), an "out" that cannot be created (the batch stops), two inputs
// with the same file name (the later output replaces the earlier), and the
// conversion problems of SituationConverter. marks defaults to the
// process-wide symbol library manager.
int runBatch(const std::string& exeFolder, std::ostream& errors, MarkTypeSource* marks = nullptr);

}  // namespace HQ

#endif
