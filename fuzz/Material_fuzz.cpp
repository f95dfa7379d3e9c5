#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "render/Material.h"

KORVANTHE_FUZZ_TARGET(material) {
    static const bool ready = [] {
        for (const std::string& image : FuzzScratch::CorpusNames("material", ".bmp")) {
            FuzzScratch::Write("images/" + image, FuzzScratch::Bmp());
        }
        return true;
    }();
    (void)ready;
    FuzzScratch::Write("materials/m.mat", input);
    const Material material("materials/m.mat");
}
