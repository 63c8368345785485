// harmonet-make-icon SIZE OUT.png: writes the program's icon as a PNG picture
// of SIZE x SIZE pixels, for the desktop's icon theme.
#include "widgets/ProgramIcon.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: harmonet-make-icon SIZE OUT.png (SIZE from 16 to 1024)\n");
        return 2;
    }
    if (!harmonet::programIcon(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "harmonet-make-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
