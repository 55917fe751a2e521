# Bash completion for korvane-viewer: its options, their values, and the files it opens.
_korvane_viewer() {
    local cur prev
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    case "$prev" in
    --render)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -X '!*.@(png|PNG|pdf|PDF|svg|SVG)' -- "$cur") $(compgen -d -- "$cur"))
        return
        ;;
    --print)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -X '!*.@(pdf|PDF)' -- "$cur") $(compgen -d -- "$cur"))
        return
        ;;
    --size)
        COMPREPLY=($(compgen -W '1024x768 1280x1024 1920x1080 3840x2160' -- "$cur"))
        return
        ;;
    --background)
        COMPREPLY=($(compgen -W 'black white' -- "$cur"))
        return
        ;;
    --group-mode)
        COMPREPLY=($(compgen -W 'main none1 sub none2' -- "$cur"))
        return
        ;;
    --sheet)
        COMPREPLY=($(compgen -W '1 2 3 4 5 6 7 8 9' -- "$cur"))
        return
        ;;
    --units)
        COMPREPLY=($(compgen -W 'metric imperial' -- "$cur"))
        return
        ;;
    --help | --version)
        return
        ;;
    esac
    if [[ "$cur" == -* ]]; then
        COMPREPLY=($(compgen -W '--render --size --background --group-mode --sheet --dump --datasheet --print --bom --units --csv --help --version' -- "$cur"))
        return
    fi
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -f -X '!*.@(kdf|KDF|sym|SYM|zip|ZIP|kdx|KDX)' -- "$cur") $(compgen -d -- "$cur"))
}
complete -F _korvane_viewer korvane-viewer
