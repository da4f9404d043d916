# bash completion for tarvo-prg                              -*- shell-script -*-

_tarvo_prg_encodings=(
    "System" "CP1250" "CP1251" "CP1252" "CP1253" "CP1254" "CP1255" "CP1256"
    "CP1257" "CP1258" "ISO 8859-1" "ISO 8859-2" "ISO 8859-3" "ISO 8859-4"
    "ISO 8859-5" "ISO 8859-6" "ISO 8859-7" "ISO 8859-8" "ISO 8859-9"
    "ISO 8859-10" "ISO 8859-11" "ISO 8859-12" "ISO 8859-13" "ISO 8859-14"
    "ISO 8859-15" "ISO 8859-16" "UTF-8"
)

# Every cell key, whole: param.1 ... payment.4.index.
_tarvo_prg_cell_keys()
{
    local n field
    for ((n = 1; n <= 26; n++)); do printf '%s\n' "param.$n"; done
    for ((n = 1; n <= 50; n++)); do
        for field in name price tax digits; do printf '%s\n' "department.$n.$field"; done
    done
    for ((n = 1; n <= 8; n++)); do printf '%s\n' "header.$n"; done
    printf '%s\n' comment
    for ((n = 1; n <= 4; n++)); do
        for field in name value index; do printf '%s\n' "payment.$n.$field"; done
    done
}

_tarvo_prg()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    COMPREPLY=()

    # bash splits "--encoding=CP" at the "=": the option is two words back,
    # or one when nothing follows the "=" yet.
    if [[ $cur == "=" && $prev == --* ]]; then
        cur=""
    elif [[ $prev == "=" && COMP_CWORD -ge 2 ]]; then
        prev=${COMP_WORDS[COMP_CWORD-2]}
    fi

    case $prev in
        --encoding | --from | --to)
            # Names with a space come back with it escaped: ISO\ 8859-5.
            local typed=${cur//\\ / } name
            typed=${typed#[\"\']}
            for name in "${_tarvo_prg_encodings[@]}"; do
                if [[ ${name,,} == "${typed,,}"* ]]; then
                    COMPREPLY+=("$(printf '%q' "$name")")
                fi
            done
            return
            ;;
        --cell)
            compopt -o nospace 2>/dev/null
            local key
            while IFS= read -r key; do
                [[ $key == "$cur"* ]] && COMPREPLY+=("$key=")
            done < <(_tarvo_prg_cell_keys)
            return 0
            ;;
    esac

    local command="" word
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        case $word in
            dump | build | check | convert | diff | set | help) command=$word; break ;;
        esac
    done

    if [[ $cur == -* ]]; then
        local options="--encoding --help -h --version --"
        case $command in
            convert) options="--from --to --lossy $options" ;;
            set) options="--cell $options" ;;
        esac
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    if [[ -z $command || $command == help ]]; then
        COMPREPLY=($(compgen -W "dump build check convert diff set" -- "$cur"))
        return
    fi
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -f -- "$cur"))
} &&
    complete -F _tarvo_prg tarvo-prg

# ex: filetype=sh
