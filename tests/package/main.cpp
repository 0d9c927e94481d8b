// A host application in miniature: includes the umbrella headers of both
// libraries and calls into each of them.
#include <geomkit/geomkit.h>
#include <markstore/markstore.h>

#include <cstdio>

int main() {
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
    return 0;
}
