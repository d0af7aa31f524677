# SPDX-License-Identifier: MIT
# bash completion for zkt: the commands, the options (read from zkt --help,
# so new ones need no change here), the values of --encoding and --eol, and
# file names.

_zkt() {
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --encoding)
            COMPREPLY=($(compgen -W 'cp932 utf-8 utf-16le' -- "$cur"))
            return
            ;;
        --eol)
            COMPREPLY=($(compgen -W 'crlf lf' -- "$cur"))
            return
            ;;
        -o | --output | --pass-file | --password-file)
            _filedir
            return
            ;;
        -O | --target-dir)
            _filedir -d
            return
            ;;
        -p | --pass | -n)
            # A pass number or a count is typed, not completed.
            return
            ;;
        -h | --help | --version)
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '$(_parse_help "$1")' -- "$cur"))
        return
    fi

    # The command is the first word that is neither an option nor an
    # option's value; options may stand before it.
    local i has_command=false
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            -p | --pass | -o | --output | --encoding | --eol | --pass-file | \
                --password-file | -n | -O | --target-dir)
                ((i++))
                ;;
            --)
                ((i + 1 < cword)) && has_command=true
                break
                ;;
            -*) ;;
            *)
                has_command=true
                break
                ;;
        esac
    done
    if ! $has_command; then
        COMPREPLY=($(compgen -W 'encipher decipher recover seal unseal' -- "$cur"))
        return
    fi
    _filedir
} &&
    complete -F _zkt zkt
