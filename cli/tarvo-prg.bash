# bash completion for tarvo-prg                              -*- shell-script -*-

_tarvo_prg_encodings=(
    "System" "CP1250" "CP1251" "CP1252" "CP1253" "CP1254" "CP1255" "CP1256"
    "CP1257" "CP1258" "ISO 8859-1" "ISO 8859-2" "ISO 8859-3" "ISO 8859-4"
    "ISO 8859-5" "ISO 8859-6" "ISO 8859-7" "ISO 8859-8" "ISO 8859-9"
    "ISO 8859-10" "ISO 8859-11" "ISO 8859-12" "ISO 8859-13" "ISO 8859-14"
    "ISO 8859-15" "ISO 8859-16"
)

_tarvo_prg()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    COMPREPLY=()

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
            COMPREPLY=($(compgen -W "param. department. header. comment= payment." -- "$cur"))
            return
            ;;
    esac

    local command="" word
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        case $word in
            dump | build | check | convert | diff | set) command=$word; break ;;
        esac
    done

    if [[ $cur == -* ]]; then
        local options="--encoding --help -h --version --"
        case $command in
            convert) options="--from --to $options" ;;
            set) options="--cell $options" ;;
        esac
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "dump build check convert diff set" -- "$cur"))
        return
    fi
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -f -- "$cur"))
} &&
    complete -F _tarvo_prg tarvo-prg

# ex: filetype=sh
