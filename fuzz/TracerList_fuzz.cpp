#include <memory>

#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "character/Person.h"

// The list names its materials by their paths from the data folder.
KORVANTHE_FUZZ_TARGET(tracerlist) {
    static const bool ready = [] {
        for (const std::string& material : FuzzScratch::CorpusNames("tracerlist", ".mat")) {
            FuzzScratch::Write("characters/t/materials/" + material, FuzzScratch::Plain());
        }
        return true;
    }();
    (void)ready;
    FuzzScratch::Write("characters/t/tracerlist.txt", input);
    const std::unique_ptr<Person> fighter(new Person("t", 1));
}
