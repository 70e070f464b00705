// The manual page made from help text: which part of the text lands in which section, how
// terms and examples are set, what is escaped, and where hand-written sections go.
#include <gtest/gtest.h>

#include "ManPage.h"

namespace tw::manpage {
namespace {

std::string pageOf(const std::string& help, const std::string& extra = std::string()) {
    return manPage({help, "Prog 3.1\n", "2024-05-06", extra});
}

TEST(ManPageTest, HelpTextPartsBecomeSections) {
    const struct {
        const char* name;
        std::string help;
        std::string expected;
    } cases[] = {
        {"title line", "Usage: prog [options]\n",
         ".TH PROG 1 \"2024-05-06\" \"Prog 3.1\" \"User Commands\"\n"},
        {"synopsis", "Usage: prog [options]\n", ".SH \"SYNOPSIS\"\n.B prog\n[options]\n"},
        {"description", "Usage: prog\n\nCounts things.\nQuickly.\n\nAlso this.\n",
         ".SH \"DESCRIPTION\"\nCounts things.\nQuickly.\n.PP\nAlso this.\n"},
        {"first list is the options, terms set in bold and italics",
         "Usage: prog\n\nText.\n\n  -in [all] FILE...  read FILE\n"
         "                     and more\n  --help, -h         this text\n",
         ".SH \"OPTIONS\"\n.TP\n\\fB\\-in\\fR [all] \\fIFILE\\fR...\nread FILE\nand more\n"
         ".TP\n\\fB\\-\\-help\\fR, \\fB\\-h\\fR\nthis text\n"},
        {"a term without text", "Usage: prog\n\n  -quiet\n", ".TP\n\\fB\\-quiet\\fR\n"},
        {"exit codes", "Usage: prog\n\nExit codes:\n  0  done\n  2  no input\n",
         ".SH \"EXIT STATUS\"\n.TP\n0\ndone\n.TP\n2\nno input\n"},
        {"a heading that says more stays as the first sentence",
         "Usage: prog\n\nOutput files, in the output directory:\n  out.txt  the summary\n",
         ".SH \"FILES\"\nOutput files, in the output directory:\n.TP\nout.txt\nthe summary\n"},
        {"examples kept line for line", "Usage: prog\n\nExamples:\n  prog -a x\n    prog -b\n",
         ".SH \"EXAMPLES\"\n.PP\n.RS 4\n.nf\nprog \\-a x\n  prog \\-b\n.fi\n.RE\n"},
        {"another heading is a subsection of the description",
         "Usage: prog\n\nText.\n\nNotes:\n  a  first\n",
         ".SH \"DESCRIPTION\"\nText.\n.SS \"Notes\"\n.TP\na\nfirst\n"},
        {"a colon inside a paragraph starts nothing", "Usage: prog\n\nReads\nthese:\n",
         ".SH \"DESCRIPTION\"\nReads\nthese:\n"},
    };
    for (const auto& c : cases) {
        const std::string page = pageOf(c.help);
        EXPECT_NE(page.find(c.expected), std::string::npos) << c.name << "\n" << page;
    }
}

TEST(ManPageTest, SectionsComeInTheirUsualOrder) {
    const std::string page =
        pageOf("Usage: prog\n\nText.\n\n  -a  b\n\nExamples:\n  prog\n\nExit codes:\n  0  done\n",
               ".SH SEE ALSO\nother(1)\n.SH NAME\nprog \\- counts\n.SH BUGS\nNone.\n"
               ".SH EXIT STATUS\nAnd more.\n");
    std::size_t previous = 0;
    for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS",
                                "EXAMPLES", "BUGS", "SEE ALSO"}) {
        const std::size_t at = page.find(std::string(".SH \"") + section + "\"");
        ASSERT_NE(at, std::string::npos) << section << "\n" << page;
        EXPECT_GT(at, previous) << section << "\n" << page;
        previous = at;
    }
    // A hand-written part of a section the help text made follows the help text's part.
    EXPECT_NE(page.find(".SH \"EXIT STATUS\"\n.TP\n0\ndone\nAnd more.\n"), std::string::npos)
        << page;
    EXPECT_EQ(page.find(".SH \"ENVIRONMENT\""), std::string::npos) << "empty sections are left out";
}

TEST(ManPageTest, EscapesWhatMarkupWouldRead) {
    EXPECT_EQ(escaped("a-b \\n"), "a\\-b \\en");
    EXPECT_EQ(escaped(".hidden"), "\\&.hidden");
    EXPECT_EQ(escaped("'quoted'"), "\\&'quoted'");
    EXPECT_EQ(escaped("x.y 'z'"), "x.y 'z'");
    const std::string page = pageOf("Usage: prog\n\nText\n.starts with a dot\n");
    EXPECT_NE(page.find("\n\\&.starts with a dot\n"), std::string::npos) << page;
}

}  // namespace
}  // namespace tw::manpage
