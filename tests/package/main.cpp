// SPDX-License-Identifier: Apache-2.0
// A host application in miniature: includes the umbrella headers of both
// libraries and calls into each of them. Built against an installed tree;
// SITPLOT_EXPECTED_VERSION is the version the package reported (CMake package
// or pkg-config), which the installed version header must repeat.
// MARKSTORE_ONLY leaves out the direct calls into geomkit, for a program that
// links markstore alone.
#include <markstore/markstore.h>
#include <sitplot/version.h>
#ifndef MARKSTORE_ONLY
#include <geomkit/geomkit.h>
#endif

#include <cstdio>
#include <cstring>

#define SITPLOT_STR2(x) #x
#define SITPLOT_STR(x) SITPLOT_STR2(x)

int main() {
    const char* numbers = SITPLOT_STR(SITPLOT_VERSION_MAJOR) "." SITPLOT_STR(
        SITPLOT_VERSION_MINOR) "." SITPLOT_STR(SITPLOT_VERSION_PATCH);
    if (std::strcmp(SITPLOT_VERSION_STRING, numbers) != 0 ||
        std::strcmp(SITPLOT_VERSION_STRING, SITPLOT_EXPECTED_VERSION) != 0) {
        std::fprintf(stderr, "version header says %s (%s), package says %s\n", SITPLOT_VERSION_STRING,
                     numbers, SITPLOT_EXPECTED_VERSION);
        return 1;
    }
#ifndef MARKSTORE_ONLY
    HQ::CHQ_Matrix4 t;
    t.makeTrans(1, 2, 3);
    const HQ::CHQ_Point3D p = t * HQ::CHQ_Point3D(0, 0, 0);
    if (p.x != 1 || p.y != 2 || p.z != 3) {
        std::fprintf(stderr, "unexpected translation\n");
        return 1;
    }
    if (HQ::CHQGS_UtilityFunctions::UnicodeToUTF8(L"A") != "A") {
        std::fprintf(stderr, "unexpected UTF-8 text\n");
        return 1;
    }
#endif
    HQ::IHQGS_SymbolLibManager* manager = HQ::SymbolLibManagerFactory::GetInstance();
    if (!manager || !manager->init(0) || manager->getShowMode(1, 1) != 4) {
        std::fprintf(stderr, "unexpected manager answers\n");
        return 1;
    }
    manager->release();
    std::printf("sitplot %s\n", SITPLOT_VERSION_STRING);
    return 0;
}
