#include "frontend/Choice.h"

#include <ostream>

#include "core/Trace.h"
#include "frontend/String3D.h"

Choice::Choice(const char* label_, int x, int y, Material* m, float scale_)
    : label(label_), left(x), top(y), scale(scale_), text(new String3D(label_, scale_)) {
    const Rect r = Letters();
    debug << "t=" << r.top << " b=" << r.bottom << " l=" << r.left << " r=" << r.right << std::endl;
    String3D::Map(m);
}

Choice::~Choice() { delete text; }

void Choice::SetLabel(const char* words) {
    label = words;
    delete text;
    text = new String3D(words, scale);
}

Choice::Rect Choice::Letters() const {
    return Rect{static_cast<float>(left), static_cast<float>(top), left + text->Width(),
                top + text->Height()};
}
