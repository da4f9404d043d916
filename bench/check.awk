# The checks of `tarvo-prg check`, as a fleet script would make them in awk:
# every line the reader skips although it is no comment, and every value the
# numeric cell editors refuse, printed as FILE:LINE: finding. Run it with
# LC_ALL=C so that it works on the bytes of any single-byte code page.
#
#   LC_ALL=C awk -f bench/check.awk FILE...

function trim(s) {
    sub(/^[\t\n ]+/, "", s)
    sub(/[\t\n ]+$/, "", s)
    return s
}

function isWhole(v,    digits) {
    if (v !~ /^[+-]?[0-9]+$/)
        return 0
    digits = v
    sub(/^[+-]/, "", digits)
    sub(/^0+/, "", digits)
    if (length(digits) > 10)
        return 0
    return v + 0 >= -2147483648 && v + 0 <= 2147483647
}

function isDecimal(v) {
    return v ~ /^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$/
}

function refuse(what, v, why) {
    print FILENAME ":" FNR ": " what " \"" v "\" " why
    found = 1
}

{
    line = $0
    gsub(/\r/, "", line)
    line = trim(line)
    if (line == "" || substr(line, 1, 2) == "\";")
        next
    n = split(line, f, "\t")
    letter = f[1]
    if (letter == "S") { first = 1; rows = 26 }
    else if (letter == "D") { first = 1; rows = 50 }
    else if (letter == "H") { first = 1; rows = 8 }
    else if (letter == "C") { first = 0; rows = 1 }
    else if (letter == "Y") { first = 1; rows = 4 }
    else {
        print FILENAME ":" FNR ": line skipped: \"" letter "\" is no record letter (S, D, H, C or Y)"
        found = 1
        next
    }
    number = f[2]
    if (number !~ /^[ \t]*[0-9]+[ \t]*$/) {
        if (trim(number) == "")
            print FILENAME ":" FNR ": line skipped: " letter " record without a number"
        else
            print FILENAME ":" FNR ": line skipped: " letter " record number \"" number "\" is not a number"
        found = 1
        next
    }
    number = number + 0
    if (number < first || number >= first + rows) {
        if (rows == 1)
            print FILENAME ":" FNR ": line skipped: " letter " record number " number " is not " first
        else
            print FILENAME ":" FNR ": line skipped: " letter " record number " number " is outside " first ".." first + rows - 1
        found = 1
        next
    }
    if (letter == "D") {
        if (f[5] != "" && !isDecimal(f[5]))
            refuse("department " number " price", f[5], "is not a decimal number")
        if (f[6] != "" && !isWhole(f[6]))
            refuse("department " number " digits", f[6], "is not a whole number")
    } else if (letter == "Y") {
        if (f[4] != "" && !isDecimal(f[4]))
            refuse("payment " number " value", f[4], "is not a decimal number")
    }
}

END { exit found ? 1 : 0 }
