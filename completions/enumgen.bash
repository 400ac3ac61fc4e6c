# SPDX-License-Identifier: MIT
# bash completion for enumgen and enumgen-import, loaded by bash-completion.

_enumgen() {
    local cur prev words cword split
    _init_completion -s || return
    case $prev in
        --list | --lock) _filedir; return ;;
        --namespace) return ;;
        --templates | --output | --include-dir | -C) _filedir -d; return ;;
    esac
    $split && return
    [[ $cur == -* ]] && mapfile -t COMPREPLY < <(compgen -W '--list --templates --output --include-dir
        --remove-stale -C --brief --outputs --check --qml --namespace --lock --lock-update --locked --lsp --help
        --version' -- "$cur")
} && complete -F _enumgen enumgen

_enumgen_import() {
    local cur prev words cword split i
    _init_completion -s || return
    # After "--" come the compiler's flags.
    for ((i = 1; i < cword; i++)); do
        [[ ${words[i]} == -- ]] && { _filedir; return; }
    done
    case $prev in
        -p) _filedir -d; return ;;
        -o | --lock) _filedir; return ;;
        --enum | -j) return ;;
    esac
    $split && return
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '-p -o --all --enum --lock -k --keep-going -j --help --version --' -- "$cur")
    else
        _filedir '@(h|hh|hpp|hxx|h++)'
    fi
} && complete -F _enumgen_import enumgen-import
