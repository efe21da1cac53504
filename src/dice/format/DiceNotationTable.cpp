#include "dice/format/DiceNotationTable.h"

QString DiceNotationTable()
{
    return QStringLiteral(R"(Notação, com a saída real de "quessar-cli dados -d -s S EXPRESSÃO":
  NdM NDM d%  N dados de M faces (N até 10000, M até 1000000); d% = d100
              -s 1 3d6: [4, 5, 6] = 15
  dF dF.1     Fate: -1, 0, +1 (dF.1: quatro faces 0 em seis)
              -s 3 4dF.1: [-1, 0, 0, -1] = -2
  <cp>        conta os dados que cumprem a comparação, em vez de somar
              -s 1 10d10>=8: [6, 8*, 10*, 5, 5, 8*, 9*, 6, 3, 8*] = 5
  f<cp>       conta as falhas e as subtrai
              -s 3 6d10>=8f1: [2, 8*, 7, 1f, 3, 7] = 0
  khK kK klK  mantém os K maiores / menores (empate: fica o rolado antes)
              -s 1 4d6kh3: [4, 5, 6, ~3~] = 15
  dhK dlK dK  descarta os K maiores / menores
              -s 1 4d6dh1: [4, 5, ~6~, 3] = 12
  várias      juntas, cada regra põe de lado o que poria sozinha
              -s 1 4d10dh1dl2: [~6~, 8, ~10~, ~5~] = 8
  r r<cp> ro  rola de novo a menor face / o que cumpre (até 100) / uma vez
              -s 3 4d6r1: [1r, 5, 4, 1r, 2, 4] = 15
  u uo        rola de novo faces repetidas no termo (até 100 / uma vez)
              -s 2 4d6u: [4, 5, 4u, 5u, 2, 3] = 14
  ! !<cp>     explode na maior face / no que cumpre (até 100 extras por dado)
              -s 1 3d6!: [4, 5, 6!, 3] = 18
  !! !p !!p   acumula os extras num só valor / cada extra conta 1 a menos
              -s 1 3d6!!: [4, 5, 9!!] = 18
              -s 4 2d6!p: [3, 6!, 5!p, 2p] = 16
  minN maxN   eleva / rebaixa cada face a N
              -s 3 4d6min2: [2^, 5, 4, 2^] = 13
  cs<cp> cf<cp>  marca críticos de sucesso / falha (o total não muda)
              -s 21 2d20cs>=19cf1: [1--, 19++] = 20
  s sa sd     ordena os dados mostrados (o total não muda)
              -s 1 4d6sd: [6, 5, 4, 3] = 18
  {a, b}      grupo: soma; kh/dl/... mantêm membros, <cp> conta membros;
              um só membro de dados somados junta os dados num monte
              -s 1 {1d20+5, 1d20+5}kh1: {~[12] + 5~, [15] + 5} = 20
              -s 1 {3d6, 3d6, 3d6}>=12: {[4, 5, 6]*, [3, 3, 5], [6, 4, 2]*} = 2
              -s 1 {4d6+3d8}k4: {[~4~, 5, 6, ~3~] + [~4~, 7, 8]} = 26
  + - * / % ^ **  precedência usual; / exata (frações); % resto; ^ inteiro
              -s 3 1d6/2: [1] / 2 = 0,5
  floor ceil round abs sign min max pow (sqrt, log... não: totais exatos)
              -s 1 max(1d20, 1d20): max([12], [15]) = 15
  [texto]     rótulo de um termo; "# texto" no fim rotula a expressão
              -s 1 2d6[fogo]+1d4[gelo]: [4, 5][fogo] + [4][gelo] = 13
              -s 1 3d6: [4, 5, 6] = 15 # bola de fogo
  <cp> é =N <>N !=N <N >N <=N >=N; depois de r, ro, f, cs e cf basta N.
  A ordem dos modificadores não importa. Espaços só entre os termos.

Marcas do --detalhes: ~2~ descartado, 1r e 3u rolados de novo (o seguinte
os substitui), 6! explodiu (o extra vem depois), 9!! acumulou, 5p penetrou,
3^ elevado, 4v rebaixado, 8* sucesso, 1f falha, 20++ e 1-- críticos.)");
}
