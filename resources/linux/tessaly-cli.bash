# bash completion for tessaly-cli: the options as its --help lists them, and their values.

_tessaly_cli() {
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --month)
            COMPREPLY=($(compgen -W '{1..12}' -- "$cur"))
            return
            ;;
        --year)
            COMPREPLY=($(compgen -W '{1900..2100}' -- "$cur"))
            return
            ;;
        --week-start)
            COMPREPLY=($(compgen -W 'monday tuesday wednesday thursday friday saturday sunday' \
                -- "$cur"))
            return
            ;;
        --weekend)
            # A day after each comma.
            local days='monday tuesday wednesday thursday friday saturday sunday'
            local listed="${cur%,*}"
            [[ $cur == *,* ]] && listed="$listed," || listed=
            COMPREPLY=($(compgen -P "$listed" -W "$days" -- "${cur##*,}"))
            compopt -o nospace
            return
            ;;
        --months)
            COMPREPLY=($(compgen -W '{1..24}' -- "$cur"))
            return
            ;;
        --paper)
            COMPREPLY=($(compgen -W 'letter a4' -- "$cur"))
            return
            ;;
        --layout)
            COMPREPLY=($(compgen -W 'month year' -- "$cur"))
            return
            ;;
        --format)
            COMPREPLY=($(compgen -W 'html pdf text' -- "$cur"))
            return
            ;;
        --locale)
            # The installed ones, as locale -a lists them.
            COMPREPLY=($(compgen -W '$(locale -a 2>/dev/null)' -- "$cur"))
            return
            ;;
        --events)
            _filedir ics
            return
            ;;
        --output)
            _filedir -d
            return
            ;;
        -o)
            _filedir
            return
            ;;
        --color)
            # Six hex digits of the user's own: nothing to offer.
            return
            ;;
    esac
    $split && return

    COMPREPLY=($(compgen -W '$(_parse_help "$1")' -- "$cur"))
} &&
    complete -F _tessaly_cli tessaly-cli
