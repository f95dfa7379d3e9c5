#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "render/Material.h"

// A material showing the animated images of the list being fuzzed.
KORVANTHE_FUZZ_TARGET(bml) {
    static const bool ready = [] {
        for (const std::string& image : FuzzScratch::CorpusNames("bml", ".bmp")) {
            FuzzScratch::Write("images/" + image, FuzzScratch::Bmp());
        }
        FuzzScratch::Write("materials/b.mat", "l.bml 1 1 ambi 0 0 0 diff 1 1 1 emis 0 0 0 spec 0 0 0 shine 0\n");
        return true;
    }();
    (void)ready;
    FuzzScratch::Write("images/l.bml", input);
    const Material material("materials/b.mat");
}
