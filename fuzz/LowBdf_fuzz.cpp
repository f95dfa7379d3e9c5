#include <memory>

#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "character/Person.h"

KORVANTHE_FUZZ_TARGET(lowbdf) {
    static const bool ready = (FuzzScratch::StandInFighter("lowbdf", "f"), true);
    (void)ready;
    FuzzScratch::Write("characters/f/low.bdf", input);
    const std::unique_ptr<Person> fighter(new Person("f", 1));
}
