# bash completion for ravelin-cli: commands, each command's options, and file names (folders
# and Pascal files for count, project files and units for the unit commands).
_ravelin_cli() {
  local cur prev command i
  COMPREPLY=()
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD - 1]}
  local commands="count list tree depend report cycles graph html help"
  local common="--format --eol --report --help"
  local count_options="--list --ext --exclude --no-ignore --keep-going --strict --jobs --quiet --summary --dialect --output"
  local unit_options="--settings --no-settings --rtl --vcl --search --strict --fail-on-cycles
    --project --config --platform --lazarus-dir --compiler-rules --define --target --dialect"

  command=
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      -*) ;;
      *) command=${COMP_WORDS[i]}; break ;;
    esac
  done
  if [[ -z $command ]]; then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return
  fi

  case $prev in
    --format)
      case $command in
        graph) COMPREPLY=($(compgen -W "dot graphml json" -- "$cur")) ;;
        report | cycles) COMPREPLY=($(compgen -W "text json" -- "$cur")) ;;
        count) COMPREPLY=($(compgen -W "text json csv html" -- "$cur")) ;;
        *) COMPREPLY=($(compgen -W "text json csv" -- "$cur")) ;;
      esac
      return
      ;;
    --dialect) COMPREPLY=($(compgen -W "delphi fpc" -- "$cur")); return ;;
    --target) COMPREPLY=($(compgen -W "windows linux macos" -- "$cur")); return ;;
    --config | --platform | --define | -D) return ;;
    --lazarus-dir) COMPREPLY=($(compgen -d -- "$cur")); return ;;
    --project) COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.@(dproj|lpi|lpk)' -- "$cur")); return ;;
    --eol) COMPREPLY=($(compgen -W "crlf lf" -- "$cur")); return ;;
    --jobs | -j | --ext | --exclude) return ;;
    --rtl | --vcl | --search) COMPREPLY=($(compgen -d -- "$cur")); return ;;
    --list | --report | --settings | --output | -o) COMPREPLY=($(compgen -f -- "$cur")); return ;;
  esac

  case $command in
    help) COMPREPLY=($(compgen -W "count list tree depend report cycles graph html" -- "$cur")) ;;
    count)
      if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$count_options $common" -- "$cur"))
      else
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.@(pas|pp|p|dpr|dpk|lpr|inc|PAS|PP|P|DPR|DPK|LPR|INC)' -- "$cur"))
      fi
      ;;
    list | tree | depend | report | cycles | graph | html)
      if [[ $cur == -* ]]; then
        local extra=
        [[ $command == graph ]] && extra=--cluster
        if [[ $command == html ]]; then
          COMPREPLY=($(compgen -W "$unit_options --output --help" -- "$cur"))
          return
        fi
        COMPREPLY=($(compgen -W "$unit_options $extra $common" -- "$cur"))
      else
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.@(dpr|pas|pp|lpr|dpk|DPR|PAS|PP|LPR|DPK)' -- "$cur"))
      fi
      ;;
  esac
}
complete -o filenames -o bashdefault -F _ravelin_cli ravelin-cli
