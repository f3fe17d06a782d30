#!/usr/bin/env bash
# The programs run on every x86-64 processor: none of their code uses an
# instruction beyond the baseline (SSE2) that Debian's amd64 port builds for,
# such as POPCNT, LZCNT, the BMI bit instructions, SSSE3, SSE4 or AVX. (TZCNT
# is allowed: it runs as BSF where the processor lacks it.)
#
#     baseline_instructions.sh FILE...
set -euo pipefail

beyond='\s(popcnt|lzcnt|andn|bextr|blsi|blsr|blsmsk|bzhi|shlx|shrx|sarx|rorx|pdep|pext|mulx|adcx|adox|movbe|crc32[bwlq]?|pshufb|palignr|phaddw|phaddd|pabs[bwd]|ptest|pblendvb|blendvp[sd]|pmulld|pmin[su][bdw]|pmax[su][bdw]|round[sp][sd]|pextr[bdq]|pinsr[bdq]|pcmpeqq|pcmpgtq|pcmp[ei]str[im]|dpp[sd]|insertps|extractps|movntdqa|packusdw|pmovzx[a-z]*|pmovsx[a-z]*)\s|\sv[a-z0-9]+\s+[^#]*%[xyz]mm'

status=0
for file in "$@"; do
  found=$(objdump -d --no-show-raw-insn "$file" | grep -E "$beyond" | head -5 || true)
  if [[ -n $found ]]; then
    echo "$file uses instructions beyond the x86-64 baseline:"
    echo "$found"
    status=1
  fi
done
[[ $status -eq 0 ]] && echo "$# files checked: baseline x86-64 only"
exit $status
