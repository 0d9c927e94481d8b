// sitconv: converts every situation XML file below "source" (beside the
// executable) into a JSON file of the same name in "out". No arguments.
// Prints nothing and exits with 0 when every file was converted; problems go
// to standard error and make the exit status 1.
#include <sitconv/Batch.h>
#include <sitconv/Dir.h>

#include <iostream>

int main() {
    std::string exeFolder;
    HQ::dir::getExeDir(exeFolder);
    return HQ::runBatch(exeFolder, std::cerr);
}
