#pragma once

// The two default fighters; each writes characters/<name>/.
#include "content/Fighter.h"

namespace content {

void WriteBront();  // the staff fighter
void WriteLyse();   // the kicker with the braid

}  // namespace content
