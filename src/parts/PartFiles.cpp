#include "parts/PartFiles.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/ImageFactory.h"
#include "demo/DemoPart.h"

const show::DataFile& rowFile(const DemoPart& part, int index) {
    const std::string name = partClassName(part);
    for (const show::Part& row : show::kParts) {
        if (name != row.className) continue;
        if (index < 0 || index >= static_cast<int>(row.files.size())) break;
        return row.files.begin()[index];
    }
    std::fprintf(stderr, "%s asks for file %d of its row, which parts/Show.h does not list\n", name.c_str(), index);
    std::abort();
}

Bitmap* loadRowPicture(VEX_ImageFactory& factory, const DemoPart& part, int index) {
    const show::DataFile& file = rowFile(part, index);
    return factory.load(file.path, file.width, file.height, file.width, file.height, false, 1);
}

const Bitmap* loadSharedRowPicture(VEX_ImageFactory& factory, const DemoPart& part, int index) {
    const show::DataFile& file = rowFile(part, index);
    return factory.loadShared(file.path, file.width, file.height, file.width, file.height, false, 1);
}
