// What the parser refuses, and where.

#include "dice/notation/DiceNotation.h"

#include "DiceTestSupport.h"
#include "QtPrinters.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace dicetest;

// The notation's limits, and the refusal of anything whose value could leave 64 bits: each
// refused row names the character position at fault.
TEST(DiceNotation, RefusesWhatItCannotRollWithThePositionAtFault)
{
    const QString deepest = QString(100, '(') + "1" + QString(100, ')');
    const QString tooDeep = QString(101, '(') + "1" + QString(101, ')');
    const QString tenTerms = QStringList(10, "10000d6").join('+');
    // 1/3 + 1/5 + … + 1/53: the common denominator passes 2^63 at the last term.
    const QString primes = "1/3+1/5+1/7+1/11+1/13+1/17+1/19+1/23+1/29+1/31+1/37+1/41+1/43+1/47+1/53";
    struct Row
    {
        QString expression;
        qsizetype position; // 0: accepted
        const char *message;
    };
    const Row rows[] = {
        {"2d6/2", 0, ""},
        {"", 1, "expressão vazia"},
        {"  ", 3, "expressão vazia"},
        {"+3", 1, "caractere inesperado \"+\""},
        {"2d6 3", 5, "caractere inesperado \"3\""},
        {"2 d6", 3, "caractere inesperado \"d\""},
        {"2D6", 0, ""},
        {"4d6kh", 6, "termina antes do esperado"},
        {"4d6kx3", 5, "caractere inesperado \"x\""},
        {"4d6kh3!", 0, ""},
        {"3d6kh0", 4, "manter 0 dados não deixa nenhum"},
        {"3d10k1dh1", 5, "as regras de manter e descartar podem não deixar nenhum dado (de 3 dados)"},
        {"4d6!kh2kl2", 5, "as regras de manter e descartar podem não deixar nenhum dado (de 4 a 404 dados)"},
        {"{1d6, 1d6}kh1dh1", 11, "as regras de manter e descartar podem não deixar nenhum membro (de 2 membros)"},
        {"3d6dl9", 4, "descartar 9 de 3 dados não deixa nenhum"},
        {"2d", 3, "termina antes do esperado"},
        {"2*", 3, "termina antes do esperado"},
        {"(2d6", 5, "falta fechar o parêntese aberto na posição 1"},
        {"2d6)", 4, "caractere inesperado \")\""},
        {"1+𝟚", 3, "caractere inesperado U+1D7DA (\"𝟚\")"},
        {"2×3", 2, "caractere inesperado U+00D7 (\"×\"): use *"},
        {"1\n", 2, "caractere inesperado U+000A"},
        {"2d1!", 4, "uma face"},
        {"dF!", 3, "Fate"},
        {"d2!", 0, ""},
        {"10000d6", 0, ""},
        {"0d6", 1, "quantidade de dados fora do limite"},
        {"3+10001d6", 3, "quantidade de dados fora do limite"},
        {"d1000000", 0, ""},
        {"d1000001", 2, "número de faces fora do limite"},
        {"d0", 2, "número de faces fora do limite"},
        {"d99999999999999999999", 2, "número de faces fora do limite"},
        {tenTerms, 0, ""},
        {tenTerms + "+d6", 81, "dados demais numa rolagem"},
        {deepest, 0, ""},
        {tooDeep, 101, "parênteses aninhados demais"},
        {QString(100, '-') + "1", 0, ""},
        {QString(101, '-') + "1", 101, "sinais de menos seguidos demais"},
        {"9223372036854775807", 0, ""},
        {"9223372036854775808", 1, "número grande demais"},
        {"9223372036854775807+1", 20, "64 bits"},
        {"-9223372036854775807-1", 0, ""},
        {"-(-9223372036854775807-1)", 1, "64 bits"},
        {"3037000499*3037000499", 0, ""},
        {"2*3037000499*3037000499", 13, "64 bits"},
        {"(1d2-1)*9223372036854775807", 0, ""},
        {"1d2*9223372036854775807", 4, "64 bits"},
        {"10000d1000000!*1000000", 0, ""},
        {"10000d1000000!*10000000", 15, "64 bits"},
        {"10000d1000000*10000d1000000", 14, "64 bits"},
        // What the new notation cannot mean, and what it must not be able to do.
        {"d6r<7", 3, "toda face do dado seria rolada de novo"},
        {"d6min3r<=3r>3", 7, "toda face do dado seria rolada de novo"},
        {"d6r<6", 0, ""},
        {"d6!>=1", 3, "toda face do dado explode"},
        {"d6min6!", 7, "toda face do dado explode"},
        {"dF!", 3, "Fate"},
        {"7d6u", 4, "7 dados não podem mostrar faces todas diferentes: o dado só tem 6"},
        {"6d6u", 0, ""},
        {"d6d6", 3, "descartar 6 de 1 dado não deixa nenhum (queria dizer d6+d6?)"},
        {"3d6dh3", 4, "descartar 3 de 3 dados não deixa nenhum"},
        {"3d6!dh3", 5, "descartar 3 de 3 dados"},
        {"{1d6, 1d6}kh0", 11, "manter 0 membros não deixa nenhum"},
        {"{1d6, 1d6}d2", 11, "descartar 2 de 2 membros não deixa nenhum"},
        {"{2d6+1d6}d3", 10, "descartar 3 de 3 dados não deixa nenhum"},
        {"{2d6+1}d1", 8, "descartar 1 de 1 membro não deixa nenhum"},
        {"1d6kh0", 4, "manter 0 dados não deixa nenhum"},
        {"1/(1d2-1)", 2, "o divisor pode ser 0 (vai de 0 a 1)"},
        {"5%(d3-2)", 2, "o divisor pode ser 0"},
        {"1/(1d2-3/2)", 2, "o divisor pode ser 0 (vai de -0,5 a 0,5)"},
        {"2^-1", 2, "o expoente não pode ser negativo"},
        {"2^(1/2)", 2, "o expoente precisa ser um número inteiro"},
        {"2^62", 0, ""},
        {"2^63", 2, "64 bits"},
        {"(-2)^63", 0, ""},
        {"10^1d20", 3, "64 bits"},
        {"1^9223372036854775807", 0, ""},
        {"sqrt(4)", 1, "a função sqrt não é aceita: os totais são exatos"},
        {"2*log(8)", 3, "a função log não é aceita"},
        {"foo(1)", 1, "função desconhecida \"foo\""},
        {"floor(1, 2)", 1, "floor recebe 1 argumento"},
        {"pow(2)", 1, "pow recebe 2 argumentos"},
        {"floor 1", 7, "caractere inesperado \"1\""},
        {"3d6f1", 4, "\"f\" (falhas) vem depois de um alvo de sucesso"},
        {"3d6>3>4", 6, "modificador repetido \">\""},
        {"3d6!!!", 6, "modificador repetido \"!\""},
        {"4d6rro1", 5, "r e ro não se misturam"},
        {"4d6s5", 5, "caractere inesperado \"5\""},
        {"d6min1000001", 6, "o valor de min e max precisa estar entre 0 e 1000000"},
        {"d6>=1000000000000000001", 5, "número de comparação fora do limite"},
        {"d6>=-1", 0, ""},
        {"1.5d6", 1, "a quantidade de dados precisa ser um número inteiro"},
        {"0.1234567890123456789", 1, "número com algarismos demais"},
        {"dF.3", 4, "caractere inesperado \"3\""},
        {"{1d6", 5, "falta fechar a chave aberta na posição 1"},
        {"{1d6 2}", 6, "caractere inesperado \"2\""},
        {"2d6[x", 6, "falta fechar o rótulo aberto na posição 4"},
        {"2d6[a[b]", 6, "caractere inesperado no rótulo \"[\""},
        {"2d6[\u200B]", 5, "caractere inesperado no rótulo U+200B"},
        {"# só rótulo", 1, "expressão vazia"},
        {"1\u00A0+1", 2, "U+00A0: espaço sem quebra; use um espaço comum"},
        {"1\u22121", 2, "U+2212 (\"−\"): use o hífen -"},
        {"3d6 # " + QString(200, 'x'), 0, ""},
        {"3d6 # " + QString(201, 'x'), 7, "rótulo longo demais (mais de 200 caracteres)"},
        {QString(9999, ' ') + "1", 0, ""},
        {QString(10000, ' ') + "1", 10001, "expressão longa demais (mais de 10000 caracteres)"},
        // Fractions: the numerator and the denominator of every value must fit.
        {"(-9223372036854775807-1)/2", 0, ""},
        {"(-9223372036854775807-1)/2+1/3", 27, "64 bits"},
        {primes.first(primes.lastIndexOf(u'+')), 0, ""},
        {primes, 67, "64 bits"},
        {"1/1d1000000/1d1000000/1d1000000", 0, ""},
        {"1/1d1000000/1d1000000/1d1000000/1d10000", 32, "64 bits"},
        {"(1/2)^62", 0, ""},
        {"(1/2)^63", 6, "64 bits"},
        {"(3/2)^1d40", 6, "64 bits"},
        {"9223372036854775807.5", 1, "número com algarismos demais"},
        {"900d6!r1", 0, ""},
        {"900d6!r1+100d6!r1", 10, "rolagens demais"},
        {QStringList(102, "2").join('^'), 202, "potências encadeadas demais"},
        {QString(101, '{') + "1" + QString(101, '}'), 101, "chaves aninhadas demais"},
        {QStringList(101, "abs(").join("") + "1" + QString(101, ')'), 401,
         "funções aninhadas demais"},
    };
    for (const Row &row : rows) {
        const auto result = DiceNotation::parse(row.expression);
        const auto *error = std::get_if<DiceNotationError>(&result);
        if (row.position == 0) {
            EXPECT_EQ(error, nullptr) << row.expression.toStdString() << ": "
                                      << (error ? error->message.toStdString() : "");
            continue;
        }
        ASSERT_NE(error, nullptr) << row.expression.toStdString();
        EXPECT_EQ(error->position, row.position) << row.expression.toStdString();
        EXPECT_TRUE(error->message.contains(QString::fromUtf8(row.message)))
            << row.expression.toStdString() << ": " << error->message.toStdString();
    }
}

} // namespace
