# SPDX-License-Identifier: Apache-2.0
# Doxygen input filter: the public headers describe their classes and members
# in plain // comments. For the reference, a block of // lines directly above
# a declaration becomes its documentation (///), a comment after a member on
# the same line documents that member (///<), and the block that opens a
# header documents the file. Blocks followed by a blank line or a
# preprocessor line, and section rulers ("// ---- Text ----"), stay plain.
# Characters that Doxygen reads as commands or markup are escaped, so the
# text is shown as written. Line numbers are kept.

function escape(text) {
    gsub(/\\/, "\\\\", text)
    gsub(/[@#<>&%$]/, "\\\\&", text)
    return text
}

function flush(as_doc, as_file,    i, line) {
    for (i = 1; i <= n; i++) {
        line = block[i]
        if (as_doc && line !~ /^[ \t]*\/\/ *-+/) {
            match(line, /^[ \t]*\/\//)
            line = substr(line, 1, RLENGTH) "/" escape(substr(line, RLENGTH + 1))
            if (as_file && i == n) line = line " @file"
        }
        print line
    }
    n = 0
}

BEGIN { n = 0; seen_code = 0 }

/^[ \t]*\/\// { block[++n] = $0; next }

{
    if (n > 0) {
        if (!seen_code && $0 ~ /^#/) flush(1, 1)          # the header's opening block
        else flush($0 !~ /^[ \t]*$/ && $0 !~ /^[ \t]*#/ && $0 !~ /^[ \t]*(public|private|protected):/, 0)
    }
    if ($0 !~ /^[ \t]*$/) seen_code = 1
    line = $0
    # A trailing comment after a member declaration documents it.
    if (line ~ /[;}][ \t]*\/\/ / && line !~ /^[ \t]*\/\//) {
        pos = index(line, "// ")
        line = substr(line, 1, pos - 1) "///< " escape(substr(line, pos + 3))
    }
    print line
}

END { flush(0, 0) }
