// Driver of the peer parsers of the error-recovery benchmark (Pl0.g4, Oberon0.g4, Json.g4):
// parses each file with the grammar's default error recovery and prints, for each,
//   file <path> 0|1 <number of errors>
//   error <line> <column> <message>     one line per error, lexical or syntactic
// in the format of recovery_main.c; the column counts bytes of UTF-8 from 1, as ours do.
// usage: java RecoveryMain GRAMMAR START_RULE FILE...   (GRAMMAR Pl0, Oberon0 or Json)
import java.lang.reflect.Constructor;
import java.lang.reflect.Method;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import org.antlr.v4.runtime.BaseErrorListener;
import org.antlr.v4.runtime.CharStream;
import org.antlr.v4.runtime.CharStreams;
import org.antlr.v4.runtime.CommonTokenStream;
import org.antlr.v4.runtime.Lexer;
import org.antlr.v4.runtime.Parser;
import org.antlr.v4.runtime.RecognitionException;
import org.antlr.v4.runtime.Recognizer;
import org.antlr.v4.runtime.TokenStream;

public class RecoveryMain {
    // Collects every error as "error LINE COLUMN MESSAGE"; the column is turned from characters
    // into bytes of the line's UTF-8 text.
    static final class Collector extends BaseErrorListener {
        final String[] lines;
        final List<String> errors = new ArrayList<>();

        Collector(String text) {
            lines = text.split("\n", -1);
        }

        @Override
        public void syntaxError(Recognizer<?, ?> recognizer, Object offendingSymbol, int line,
                int charPositionInLine, String msg, RecognitionException e) {
            int column = charPositionInLine;
            if (line >= 1 && line <= lines.length) {
                String text = lines[line - 1];
                // The peer counts columns in code points; a String indexes UTF-16 units.
                int end = text.offsetByCodePoints(0, Math.min(charPositionInLine, text.codePointCount(0, text.length())));
                column = text.substring(0, end).getBytes(StandardCharsets.UTF_8).length;
            }
            errors.add("error " + line + " " + (column + 1) + " " + msg.replace('\n', ' ').replace('\r', ' '));
        }
    }

    public static void main(String[] args) throws Exception {
        if (args.length < 2) {
            System.err.println("usage: java RecoveryMain GRAMMAR START_RULE FILE...");
            System.exit(2);
        }
        Constructor<?> makeLexer = Class.forName(args[0] + "Lexer").getConstructor(CharStream.class);
        Class<?> parserClass = Class.forName(args[0] + "Parser");
        Constructor<?> makeParser = parserClass.getConstructor(TokenStream.class);
        Method start = parserClass.getMethod(args[1]);
        StringBuilder out = new StringBuilder();
        for (int i = 2; i < args.length; i++) {
            String text = new String(Files.readAllBytes(Paths.get(args[i])), StandardCharsets.UTF_8);
            Collector collector = new Collector(text);
            Lexer lexer = (Lexer) makeLexer.newInstance(CharStreams.fromString(text, args[i]));
            lexer.removeErrorListeners();
            lexer.addErrorListener(collector);
            Parser parser = (Parser) makeParser.newInstance(new CommonTokenStream(lexer));
            parser.removeErrorListeners();
            parser.addErrorListener(collector);
            start.invoke(parser);
            out.append("file ").append(args[i]).append(collector.errors.isEmpty() ? " 0 " : " 1 ")
                .append(collector.errors.size()).append('\n');
            for (String error : collector.errors)
                out.append(error).append('\n');
            if (out.length() > 1 << 16) {
                System.out.print(out);
                out.setLength(0);
            }
        }
        System.out.print(out);
        System.out.flush();
    }
}
