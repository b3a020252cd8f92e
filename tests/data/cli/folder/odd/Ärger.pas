{ never closed
