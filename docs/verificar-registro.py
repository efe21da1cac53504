#!/usr/bin/env python3
"""Confere os sorteios de uma sessão verificável do Quessar sem o código do Quessar.

Uso: python3 verificar-registro.py ARQUIVO

Lê o registro (JSON Lines, quessar-registro(5)), confere que o segredo revelado no
fechamento tem o SHA-256 do compromisso do cabeçalho e refaz, em ordem, cada sorteio de
cada rolagem a partir do segredo, do sal e do número da rolagem, com os tamanhos de dado
registrados em "sorteios". Não refaz a notação dos dados (os totais): isso é o que
"quessar-cli verificar" faz a mais. Só a biblioteca padrão do Python 3.

Saída: 0 confere; 1 não confere ou não pôde ser lido (a razão e a linha vão para a saída
de erros); 2 argumentos inválidos.
"""

import hashlib
import hmac
import json
import sys


class NaoConfere(Exception):
    def __init__(self, linha, razao):
        super().__init__(f"linha {linha}: {razao}")


def sorteios(segredo, sal, seq):
    """Os sorteios da rolagem seq: uma função que dá o próximo dado de f faces."""
    bloco = 0
    palavras = []

    def proximo(faces):
        nonlocal bloco, palavras
        limite = 2**32 - (2**32 % faces)
        while True:
            if not palavras:
                mensagem = sal + b"\x00" + seq.to_bytes(8, "big") + bloco.to_bytes(4, "big")
                resumo = hmac.new(segredo, mensagem, hashlib.sha256).digest()
                palavras = [int.from_bytes(resumo[i:i + 4], "big") for i in range(0, 32, 4)]
                bloco += 1
            x = palavras.pop(0)
            if x < limite:
                return x % faces + 1

    return proximo


def linhas(caminho):
    """(número, objeto) de cada linha inteira; uma linha cortada é dita e pulada."""
    with open(caminho, "rb") as arquivo:
        for numero, bruta in enumerate(arquivo, start=1):
            try:
                objeto = json.loads(bruta.decode("utf-8"))
            except (UnicodeDecodeError, json.JSONDecodeError):
                objeto = None
            if not isinstance(objeto, dict):
                if numero == 1:
                    raise NaoConfere(1, "não é um registro de sessão do Quessar")
                print(f"linha {numero}: cortada, pulada", file=sys.stderr)
                continue
            yield numero, objeto


def conferir(caminho):
    cabecalho = None
    sal = b""
    segredo = None
    for numero, objeto in linhas(caminho):
        if numero == 1:
            cabecalho = objeto
        elif objeto.get("tipo") == "sal":
            sal = objeto.get("sal", "").encode("utf-8")
        elif objeto.get("tipo") == "fechamento":
            segredo = (numero, objeto.get("segredo", ""))
    if cabecalho is None or cabecalho.get("registro") != "quessar" or cabecalho.get("versao") != 1:
        raise NaoConfere(1, "não é um registro de sessão do Quessar, versão 1")
    if cabecalho.get("sorteio") != "hmac-sha256-v1" or "compromisso" not in cabecalho:
        raise NaoConfere(1, "não é uma sessão verificável (hmac-sha256-v1)")
    if segredo is None:
        raise NaoConfere(1, "a sessão não foi fechada: o segredo não foi revelado")
    linha_segredo, texto = segredo
    try:
        chave = bytes.fromhex(texto)
    except ValueError:
        chave = b""
    if len(chave) != 32 or texto != chave.hex():
        raise NaoConfere(linha_segredo, "o segredo não tem 64 dígitos hexadecimais")
    if hashlib.sha256(chave).hexdigest() != cabecalho["compromisso"]:
        raise NaoConfere(linha_segredo, "o segredo não confere com o compromisso")

    rolagens = 0
    for numero, objeto in linhas(caminho):
        if objeto.get("tipo") != "rolagem":
            continue
        seq = objeto.get("seq")
        if seq != rolagens + 1:
            raise NaoConfere(numero, f"a rolagem {seq} não é a esperada ({rolagens + 1})")
        dado = sorteios(chave, sal, seq)
        for indice, par in enumerate(objeto.get("sorteios", []), start=1):
            faces, valor = par
            if not (isinstance(faces, int) and isinstance(valor, int) and faces >= 1):
                raise NaoConfere(numero, f"o sorteio {indice} não é um par [faces,valor]")
            esperado = dado(faces)
            if valor != esperado:
                raise NaoConfere(numero, f"o sorteio {indice} ({valor} num d{faces}) "
                                         f"não é o que o segredo dá ({esperado})")
        rolagens = seq
    return rolagens, bool(sal)


def main(argumentos):
    if len(argumentos) != 1 or argumentos[0].startswith("-"):
        print("uso: verificar-registro.py ARQUIVO", file=sys.stderr)
        return 2
    try:
        rolagens, salgada = conferir(argumentos[0])
    except NaoConfere as erro:
        print(f"NÃO CONFERE, {erro}", file=sys.stderr)
        return 1
    except (OSError, ValueError, TypeError, KeyError) as erro:
        print(f"NÃO CONFERE: {erro}", file=sys.stderr)
        return 1
    print(f"Confere: {rolagens} rolagens, sorteios do segredo"
          + (", com sal." if salgada else ", sem sal."))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
