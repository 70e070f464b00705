#include "engine/LineType.h"

namespace tw {

std::u16string_view lineTypeName(LineType type) {
    switch (type) {
        case LineType::Code:
            return u"Code";
        case LineType::Declaration:
            return u"Declaration";
        case LineType::Directive:
            return u"Directive";
        case LineType::CommentOwnLine:
            return u"Comment/Own Line";
        case LineType::CommentCodeLine:
            return u"Comment/Code Line";
        case LineType::CommentBanner:
            return u"Comment/Banner";
        case LineType::CommentBlank:
            return u"Comment/Blank";
        case LineType::Blank:
            return u"Blank";
    }
    return u"";
}

}  // namespace tw
