# bash completion for scenario-compiler: its commands, each command's options,
# the values of --format, folders after --dir, diff and decompile --out, scenario
# files after dump and sources after fmt.

_scenario_compiler() {
  local cur prev words cword
  if declare -F _init_completion >/dev/null; then
    _init_completion || return
  else
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
  fi

  local commands="build export compile check view fmt explain dump diff decompile lsp"
  local command="" i
  for ((i = 1; i < cword; i++)); do
    case " $commands " in
      *" ${words[i]} "*) command=${words[i]}; break ;;
    esac
  done

  case "$prev" in
    --dir | --out)
      if [[ $prev == --out && $command != decompile ]]; then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
      fi
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -d -- "$cur")
      return ;;
    --report)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return ;;
    --format)
      if [[ $command == diff ]]; then
        COMPREPLY=($(compgen -W "text json" -- "$cur"))
      else
        COMPREPLY=($(compgen -W "text json sarif" -- "$cur"))
      fi
      return ;;
    --base | --train)
      return ;;
  esac

  local naming="--dir --base --train"
  local options
  case "$command" in
    "") options="--help --version"
        if [[ $cur != -* ]]; then
          COMPREPLY=($(compgen -W "$commands" -- "$cur"))
          return
        fi ;;
    build) options="$naming --report --force --quiet --help" ;;
    export) options="$naming --force --quiet --help" ;;
    compile) options="$naming --no-geometry --delete-sources --report --quiet --watch --help" ;;
    check) options="$naming --format --watch --all --help" ;;
    view) options="$naming --out --compiled --watch --help" ;;
    fmt)
      options="$naming --check --help"
      if [[ $cur != -* ]]; then
        # The sources it formats, and folders to reach them.
        compopt -o filenames 2>/dev/null
        local file
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        while IFS= read -r file; do
          [[ $file == *_linea.txt || $file == *-.txt ]] && COMPREPLY+=("$file")
        done < <(compgen -f -- "$cur")
        return
      fi ;;
    explain) options="--help" ;;
    lsp) options="--help" ;;
    decompile) options="$naming --out --force --lossy --help" ;;
    dump)
      options="--json --at --kind --summary --entries --help"
      if [[ $cur != -* ]]; then
        # The files dump decodes, and folders to reach them.
        compopt -o filenames 2>/dev/null
        local file
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        while IFS= read -r file; do
          [[ $file == *.dat || $file == *.sim ]] && COMPREPLY+=("$file")
        done < <(compgen -f -- "$cur")
        return
      fi ;;
    diff)
      options="--base --train --format --help"
      if [[ $cur != -* ]]; then
        # The two folders compared.
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
      fi ;;
  esac
  COMPREPLY=($(compgen -W "$options" -- "$cur"))
}

complete -F _scenario_compiler scenario-compiler scenario-compiler.exe
